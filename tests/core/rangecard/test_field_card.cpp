#include "RangeCardFixtures.h"
#include "core/common/FontMetrics.h"
#include "core/common/PdfWriter.h"
#include "core/rangecard/DopeCard.h"
#include "core/rangecard/PointBlank.h"
#include "core/rangecard/RangeCard.h"
#include "core/rangecard/RangeCardColumns.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace fendrel;

namespace {

RangeCardInput fieldRound() {
    RangeCardInput in;
    in.ballisticCoefficient = 0.4;
    in.velocity = 2700;
    in.zeroRange = 200;
    return in;
}

std::string csvOf(const RangeCardInput& in) {
    RangeCardResult r;
    EXPECT_EQ(computeRangeCard(in, r), "");
    return rangeCardCsv(r);
}

} // namespace

// The band is chosen by the speed relative to the air: the fastest band's BC above its
// velocity, the slowest band's below; one band is the BC itself, to the byte.
TEST(FieldCard, BandsChooseTheirBc) {
    const std::string plain = csvOf(fieldRound());
    const std::vector<std::vector<BcBand>> sameAsPlain = {
        {{0.4, 2800}},                // one band
        {{0.6, 4000}, {0.4, 2000}},   // never as fast as the first band
        {{0.4, 1000}, {0.6, 500}},    // never as slow as the second
        {{0.4, 2000}, {0.4, 1500}}};  // the same BC twice
    for (const std::vector<BcBand>& bands : sameAsPlain) {
        RangeCardInput in = fieldRound();
        in.ballisticCoefficient = 0;
        in.bcBands = bands;
        EXPECT_EQ(csvOf(in), plain) << bands.size() << " bands from " << bands[0].velocity;
    }
    RangeCardInput slower = fieldRound();
    slower.bcBands = {{0.4, 2000}, {0.3, 1500}}; // below 2000 ft/s from about 330 yd
    RangeCardResult a, b;
    ASSERT_EQ(computeRangeCard(fieldRound(), a), "");
    ASSERT_EQ(computeRangeCard(slower, b), "");
    EXPECT_EQ(a.rows[3].height, b.rows[3].height);
    EXPECT_LT(b.rows[10].height, a.rows[10].height - 20);
}

// Maximum point-blank range against the independent solver: every range within 1 yd, the zero
// angle within 0.01 MOA, and the path fired at that angle peaks at D/2.
TEST(FieldCard, PointBlankAgreesWithTheIndependentSolver) {
    int cases = 0;
    for (const auto& keys : test::readCases("point_blank_cases")) {
        SCOPED_TRACE(keys.at("bc") + " vital " + keys.at("vital"));
        auto expect = [&](const char* key) { return leadingNumber(keys.at(key)); };
        const RangeCardInput in = test::cardInput(keys);
        const Result<PointBlankRange> r = pointBlankRange(in, expect("vital"));
        ASSERT_TRUE(r) << r.refusal;
        EXPECT_NEAR(r.value.nearRange, expect("expect-near"), 1);
        EXPECT_NEAR(r.value.peakRange, expect("expect-peak-range"), 1);
        EXPECT_NEAR(r.value.zeroRange, expect("expect-zero"), 1);
        EXPECT_NEAR(r.value.maximum, expect("expect-mpbr"), 1);
        EXPECT_NEAR(r.value.zeroAngleMoa, expect("expect-zero-angle-moa"), 0.01);
        RangeCard card;
        ASSERT_EQ(card.prepare(in), "");
        double highest = -1e9;
        card.levelPath(r.value.zeroAngleMoa * M_PI / 10800, [&](double yards, double height) {
            highest = std::max(highest, height);
            return yards < 600;
        });
        EXPECT_NEAR(highest, expect("vital") / 2, 0.5);
        ++cases;
    }
    EXPECT_EQ(cases, 4);
}

TEST(FieldCard, DangerSpaceAgreesWithTheIndependentSolver) {
    int cases = 0;
    for (const auto& keys : test::readCases("danger_space_cases")) {
        SCOPED_TRACE(keys.at("bc") + " at " + keys.at("range"));
        auto expect = [&](const char* key) { return leadingNumber(keys.at(key)); };
        const Result<DangerSpace> d =
            dangerSpace(test::cardInput(keys), expect("range"), expect("target-height"));
        ASSERT_TRUE(d) << d.refusal;
        EXPECT_NEAR(d.value.from, expect("expect-from"), 1);
        EXPECT_NEAR(d.value.to, expect("expect-to"), 1);
        EXPECT_NEAR(d.value.length, expect("expect-to") - expect("expect-from"), 1);
        ++cases;
    }
    EXPECT_EQ(cases, 4);
}

// Wind brackets: the reference's wind drift alone (no spin drift, no Coriolis, the card's own
// wind left out) within max(0.3 in, 2 %), and linear in the speed against the card's own drift.
TEST(FieldCard, WindBrackets) {
    const test::Fixture f = test::readFixture("brackets_g7_uphill");
    RangeCardInput in = test::cardInput(f.keys);
    in.windBrackets = {5, 10};
    RangeCardResult card;
    ASSERT_EQ(computeRangeCard(in, card), "");
    for (size_t i = 0; i < f.rows.size(); ++i) {
        const RangeCardRow& r = card.rows[i];
        ASSERT_EQ(r.brackets.size(), 2u);
        EXPECT_EQ(r.brackets[1].speed, 10);
        EXPECT_EQ(r.brackets[0].moa.has_value(), i > 0);
        for (size_t b = 0; b < 2 && i > 0; ++b) {
            const double inches = r.range * 36 * M_PI / 10800; // one MOA at the range
            EXPECT_NEAR(*r.brackets[b].moa, f.rows[i][b + 1],
                        std::max(0.3 / inches, 0.02 * f.rows[i][b + 1]))
                << r.range;
            EXPECT_EQ(*r.brackets[b].clicks, std::round(*r.brackets[b].moa / 0.25));
        }
    }
    RangeCardInput calm = fieldRound();
    calm.windSpeed = 10;
    calm.windFrom = 90;
    calm.windBrackets = {5, 10};
    calm.clickUnit = ClickUnit::Mil;
    calm.click = 0.1;
    ASSERT_EQ(computeRangeCard(calm, card), "");
    for (const RangeCardRow& r : card.rows) {
        if (!r.windageMoa)
            continue;
        EXPECT_GT(*r.brackets[0].moa, 0);
        EXPECT_NEAR(*r.brackets[1].moa / *r.windageMoa, 1, 0.01) << r.range;
        EXPECT_NEAR(*r.brackets[0].moa / (*r.windageMoa / 2), 1, 0.01) << r.range;
        EXPECT_NEAR(*r.brackets[1].mil / *r.windageMil, 1, 0.01) << r.range;
        EXPECT_EQ(*r.brackets[1].clicks, std::round(*r.brackets[1].mil / 0.1));
    }
}

TEST(FieldCard, RefusesWhatCannotBeComputed) {
    RangeCardInput in = fieldRound();
    in.bcBands = {{0.435, 1600}, {0.485, 1800}};
    RangeCardResult card;
    EXPECT_EQ(computeRangeCard(in, card),
              "The BC bands must be listed fastest first, as bullet makers print them: "
              "1800 ft/s comes after 1600 ft/s.");
    in.bcBands = {{0.485, 1800}, {0.435, 1800}};
    EXPECT_NE(computeRangeCard(in, card).find("fastest first"), std::string::npos);
    in.bcBands = {{0.485, 1800}, {0, 1600}};
    EXPECT_NE(computeRangeCard(in, card).find("every band"), std::string::npos);
    in.bcBands.clear();
    in.windBrackets = {5, 0};
    EXPECT_NE(computeRangeCard(in, card).find("wind bracket"), std::string::npos);
    EXPECT_TRUE(card.rows.empty());

    const RangeCardInput good = fieldRound();
    EXPECT_EQ(pointBlankRange(good, 0).refusal,
              "The vital zone must be above 0 and at most 100 in.");
    EXPECT_FALSE(pointBlankRange(good, NAN));
    EXPECT_FALSE(dangerSpace(good, 300, 0));
    EXPECT_FALSE(dangerSpace(good, 0, 10));
    RangeCardInput slow = good;
    slow.velocity = 900;
    slow.zeroRange = 50;
    EXPECT_NE(dangerSpace(slow, 4000, 10).refusal.find("cannot reach 4000 yd"),
              std::string::npos);
}

namespace {

// The texts of a PDF's content stream, as drawn: "(...) Tj" strings with their escapes read.
std::vector<std::string> pdfTexts(const std::string& pdf) {
    std::vector<std::string> texts;
    const size_t begin = pdf.find("stream\n") + 7, end = pdf.find("\nendstream");
    for (size_t at = pdf.find('(', begin); at < end; at = pdf.find('(', at)) {
        std::string text;
        for (++at; pdf[at] != ')'; ++at) {
            if (pdf[at] != '\\') {
                text += pdf[at];
            } else if (std::isdigit(static_cast<unsigned char>(pdf[++at]))) {
                text += static_cast<char>(std::stoi(pdf.substr(at, 3), nullptr, 8));
                at += 2;
            } else {
                text += pdf[at];
            }
        }
        texts.push_back(text);
    }
    return texts;
}

} // namespace

// The layout of every size: rows within its limit, every text inside the page and apart from
// every other, the PDF's offsets right and each row's numbers in its content.
TEST(FieldCard, DopeCardLayoutAndPdf) {
    DopeCardInput in;
    in.card = fieldRound();
    in.card.windBrackets = {5, 10};
    in.load = "308 Win 175 gr \xC2\xB0 test";
    in.date = "2026-05-17";
    const std::pair<DopeCardSize, int> sizes[] = {{DopeCardSize::Card, 1},
                                                  {DopeCardSize::Card, 2},
                                                  {DopeCardSize::HalfPage, 2},
                                                  {DopeCardSize::Page, 1}};
    for (const auto& [size, columns] : sizes) {
        in.size = size;
        in.columns = columns;
        const double limit = static_cast<double>(dopeCardRowLimit(size, columns));
        in.from = 100, in.every = 25, in.to = 100 + 25 * (limit - 1);
        const Result<DopeCardLayout> layout = dopeCardLayout(in);
        ASSERT_TRUE(layout) << layout.refusal;
        const PageDrawing& page = layout.value.page;
        EXPECT_EQ(page.width, dopeCardWidth(size));
        EXPECT_EQ(layout.value.ranges.size(), limit);
        struct Box { double left, right, top, bottom; };
        std::vector<Box> boxes;
        for (const DrawnText& t : page.texts) {
            const double w = textWidth(t.text, t.size, t.bold);
            const double left = t.align == TextAlign::Left     ? t.x
                                : t.align == TextAlign::Right ? t.x - w
                                                               : t.x - w / 2;
            boxes.push_back({left, left + w, t.y - t.size * 0.72, t.y + t.size * 0.2});
            EXPECT_GE(t.size, 4);
            EXPECT_TRUE(left >= 0 && left + w <= page.width && t.y <= page.height) << t.text;
        }
        for (size_t i = 0; i < boxes.size(); ++i)
            for (size_t j = 0; j < i; ++j)
                EXPECT_FALSE(boxes[i].left < boxes[j].right && boxes[j].left < boxes[i].right &&
                             boxes[i].top < boxes[j].bottom && boxes[j].top < boxes[i].bottom)
                    << page.texts[i].text << " over " << page.texts[j].text;

        const std::string pdf = pdfDocument(page, "DOPE card");
        const std::vector<std::string> texts = pdfTexts(pdf);
        for (const double range : layout.value.ranges)
            EXPECT_NE(std::find(texts.begin(), texts.end(), generalNumber(range)), texts.end());
        EXPECT_NE(std::find(texts.begin(), texts.end(), "308 Win 175 gr \xB0 test"), texts.end());
        const size_t xref = pdf.find("\nxref\n") + 1;
        EXPECT_EQ(pdf.substr(pdf.find("startxref\n") + 10), std::to_string(xref) + "\n%%EOF\n");
        for (int object = 1; object <= 7; ++object) {
            const size_t offset = std::stoul(pdf.substr(xref + 9 + 20 * object, 10));
            EXPECT_EQ(pdf.substr(offset, 8), std::to_string(object) + " 0 obj\n");
        }
        const size_t length = std::stoul(pdf.substr(pdf.find("/Length ") + 8));
        EXPECT_EQ(pdf.find("\nendstream") - (pdf.find("stream\n") + 7), length);
        EXPECT_NE(pdf.find("/MediaBox [0 0 " + generalNumber(page.width) + " " +
                           generalNumber(page.height) + "]"),
                  std::string::npos);

        in.to += in.every; // one row more than the size holds
        EXPECT_NE(dopeCardLayout(in).refusal.find("holds at most"), std::string::npos);
    }
    in.size = DopeCardSize::Card;
    in.from = 100, in.to = 500, in.every = 0;
    EXPECT_EQ(dopeCardLayout(in).refusal, "The step between the rows must be above 0.");
    in.every = 100;
    in.load = std::string(200, 'W');
    EXPECT_NE(dopeCardLayout(in).refusal.find("The load's name does not fit"), std::string::npos);
}
