#include "TestFolder.h"
#include "core/common/Numbers.h"
#include "core/history/ChronographExport.h"
#include "core/history/ChronographText.h"
#include "core/history/VelocityStatistics.h"

#include <gtest/gtest.h>

#include <random>

namespace fs = std::filesystem;
using namespace fendrel;

namespace {

// One series as a file should give it: name, date, count, mean and SD (n - 1) of its shots.
struct ExpectedSeries {
    const char* file;
    size_t index;
    const char* name;
    const char* date;
    int count;
    double mean, sd;
};

void expectSeries(const fs::path& folder, const ExpectedSeries& e, ChronographLayout layout) {
    const auto read = readChronographSource(folder / e.file);
    ASSERT_TRUE(read) << e.file << ": " << read.refusal;
    ASSERT_LT(e.index, read.value.series.size()) << e.file;
    EXPECT_EQ(read.value.layout, layout) << e.file;
    const ChronographSeries& s = read.value.series[e.index];
    const VelocityStatistics v = velocityStatistics(s.speedsFps());
    EXPECT_EQ(s.name, e.name) << e.file;
    EXPECT_EQ(s.date, e.date) << e.file;
    EXPECT_EQ(v.count, e.count) << e.file << " " << e.index;
    EXPECT_NEAR(v.meanFps, e.mean, 5e-7) << e.file << " " << e.index;
    EXPECT_NEAR(v.sdFps, e.sd, 5e-7) << e.file << " " << e.index;
}

} // namespace

TEST(ChronographExport, ReadsEveryLayoutWithItsNumbers) {
    using L = ChronographLayout;
    const std::pair<ExpectedSeries, L> cases[] = {
        {{"garmin-ios-en.csv", 0, "6.5 CM 140 ELD-M, 41.5gr H4350", "2025-03-09", 4, 2698.3,
          2.887905815638765}, L::GarminXero},
        {{"garmin-android-de.csv", 0, "Tikka T3x,.308, 44,5gr N150, 168,0 gr", "2025-03-15", 3,
          2627.7340332458443, 4.331868399024072}, L::GarminXero},
        {{"garmin-android-en.csv", 0, ".22 LR practice, bench", "2024-10-12", 3, 1071.7,
          3.1192947920964684}, L::GarminXero},
        {{"labradar-device SR0007 Report.csv", 0, "SR0007", "2023-06-14", 4, 2987.25,
          6.652067347825035}, L::LabRadar},
        {{"labradar-resaved SR0012 Report.csv", 0, "SR0012", "2021-09-30", 4, 1601.5,
          3.109126351029605}, L::LabRadar},
        {{"labradar-app SR0014 Report.csv", 0, "SR0014", "2024-09-03", 3, 2700.524934383202,
          3.4125466560674833}, L::LabRadar},
        {{"magnetospeed-log.csv", 0, "Series 1", "", 3, 2807.3333333333335, 4.041451884327381},
         L::MagnetoSpeed},
        {{"magnetospeed-log.csv", 1, "Series 3", "", 2, 2812.007874015748, 4.175827447951746},
         L::MagnetoSpeed},
        {{"magnetospeed-xfr.csv", 0, "Creedmoor 41.8 H4350", "2024-06-02", 3, 2705.3333333333335,
          6.506407098647712}, L::MagnetoSpeedXfr},
        {{"shotmarker.csv", 0, "Load B 42.0", "2025-03-02", 4, 2693.323490813648,
          3.093688792610628}, L::ShotMarker},
        {{"shotmarker.csv", 1, "Load C, 42.5", "2025-03-02", 2, 2675.8530183727034,
          2.7838849653013784}, L::ShotMarker},
        {{"prochrono-list.csv", 0, "String 1", "", 3, 1050.3, 1.6522711641858072}, L::ProChrono},
        {{"prochrono-list.csv", 1, "String 2", "", 2, 1119.7, 1.1313708498984116}, L::ProChrono},
        {{"prochrono-table.csv", 1, "String 2", "", 4, 1120.1, 1.0327955589885858}, L::ProChrono},
        {{"string.csv", 0, "Range day 10-May-2024, 71F", "", 5, 2652.6, 9.707471349429914},
         L::Generic},
        {{"metric.csv", 0, "Serie 3", "", 3, 2653.5433070866143, 10.846637306310006}, L::Generic},
    };
    for (const auto& [expected, layout] : cases)
        expectSeries(test::fixture("history"), expected, layout);
}

TEST(ChronographExport, KeepsWhatEachFileTellsOfItsShots) {
    auto read = [](const char* name) {
        auto r = readChronographSource(test::fixture(std::string("history/") + name));
        EXPECT_TRUE(r) << name << ": " << r.refusal;
        return r.value;
    };
    const ChronographExport ios = read("garmin-ios-en.csv");
    const ChronographSeries& g = ios.series.at(0);
    EXPECT_EQ(g.shots[0].time, "09:05:12");
    EXPECT_EQ(g.shots[2].time, "12:06:02");
    EXPECT_TRUE(g.shots[0].cleanBore && g.shots[0].coldBore && !g.shots[1].coldBore);
    EXPECT_EQ(g.shots[3].note, "pulled, low");
    EXPECT_EQ(g.sessionNote, "Calm, 64F");
    EXPECT_EQ(g.projectileWeightGr, 140);
    const ChronographSeries de = read("garmin-android-de.csv").series.at(0);
    EXPECT_EQ(de.sessionNote, "Neue H\u00fclsen");
    EXPECT_EQ(de.projectileWeightGr, 168);
    EXPECT_TRUE(!de.shots[0].cleanBore && de.shots[0].coldBore);
    EXPECT_EQ(de.shots[2].note, "Wind von links");
    EXPECT_EQ(read("garmin-android-en.csv").series.at(0).sessionNote, "");

    const ChronographExport radar = read("labradar-device SR0007 Report.csv");
    EXPECT_EQ(radar.series.at(0).missedShots, std::vector<int>{3});
    EXPECT_EQ(radar.notices, std::vector<std::string>{
                                 "SR0007: shot 3 was missed (V0 = 0) and left out."});
    EXPECT_EQ(radar.series[0].shots[2].time, "08:32:02");
    EXPECT_EQ(radar.series[0].projectileWeightGr, 77);

    const ChronographExport target = read("shotmarker.csv");
    ASSERT_EQ(target.series.size(), 2u);
    const ChronographSeries& b = target.series[0];
    EXPECT_TRUE(b.hasPositions());
    EXPECT_EQ(b.distanceYd, 600);
    EXPECT_EQ(b.shots[0].position->xIn, 0.3);
    EXPECT_EQ(b.shots[0].position->yIn, -0.4);
    EXPECT_EQ(b.shots[2].note, "warning-angle"); // a warning alone keeps the shot
    EXPECT_EQ(b.shots[0].time, "10:01:40");
    EXPECT_DOUBLE_EQ(*target.series[1].distanceYd, 300 / 0.9144);
    EXPECT_EQ(target.notices.size(), 1u);
    EXPECT_EQ(read("magnetospeed-log.csv").notices,
              std::vector<std::string>{"Series 2 holds no shots and is left out."});
}

TEST(ChronographExport, ReadsALabRadarCardFolder) {
    test::TestFolder card(false);
    for (const char* series : {"SR0007", "SR0012", "SR0020"})
        fs::create_directories(card / "LBR" / series);
    fs::copy_file(test::fixture("history/labradar-device SR0007 Report.csv"),
                  card / "LBR/SR0007/SR0007 Report.csv");
    fs::copy_file(test::fixture("history/labradar-resaved SR0012 Report.csv"),
                  card / "LBR/SR0012/sr0012 report.csv");
    card.write("LBR/SR0012/SR0012 TRK001.csv", "1;2;3\n");
    card.write("LBR/SR0020/SR0020 Report.csv", "sep=;\nShot ID;V0;Date\n");
    const auto all = readChronographSource(card / "LBR");
    ASSERT_TRUE(all) << all.refusal;
    ASSERT_EQ(all.value.series.size(), 2u);
    EXPECT_EQ(all.value.series[1].name, "SR0012");
    ASSERT_EQ(all.value.notices.size(), 2u);
    EXPECT_EQ(all.value.notices[1],
              "SR0020/SR0020 Report.csv is left out: Line 2: the header is followed by no "
              "shots.");
    EXPECT_EQ(readChronographSource(card / "LBR/SR0012").value.series.size(), 1u);
    EXPECT_NE(readChronographSource(card / "LBR/SR0020").refusal.find("holds no LabRadar"),
              std::string::npos);
}

TEST(ChronographExport, ReadsTheRealExportsWithTheNumbersOfTheirRows) {
    const fs::path samples = fs::path(FENDREL_TEST_DATA).parent_path().parent_path().parent_path() /
                             "shared" / "chrono-samples";
    if (!fs::is_directory(samples))
        GTEST_SKIP() << "no " << samples;
    using L = ChronographLayout;
    const std::pair<ExpectedSeries, L> cases[] = {
        {{"garmin-android-de-mps.csv", 0, "Marlin,.357, 15,3grs W296, 158,0 gr", "2024-07-02", 10,
          1555.544619, 59.176516}, L::GarminXero},
        {{"garmin-android-en-fps-grouping.csv", 0, "CZ457", "2026-07-05", 9, 1370.566667,
          19.706788}, L::GarminXero},
        {{"garmin-android-en-fps.csv", 0,
          "Phoenix Indoor range. 40 Rounds. TM22 Feather, Aguila Copper.", "2026-05-05", 31,
          1228.035484, 42.504318}, L::GarminXero},
        {{"garmin-ios-de-mps.csv", 0, "55grs FOX - 23,30grs D073.4", "2025-02-08", 4, 3013.697507,
          13.493721}, L::GarminXero},
        {{"garmin-ios-en-fps.csv", 0, "105 hybrid 31.0gt", "2024-04-06", 19, 2794.294737,
          8.697667}, L::GarminXero},
        {{"labradar-device SR0002 Report.csv", 0, "SR0002", "2020-07-25", 15, 569.666667,
          37.463633}, L::LabRadar},
        {{"labradar-device SR0011 Report.csv", 0, "SR0011", "2022-04-27", 7, 2628.428571,
          34.141164}, L::LabRadar},
        {{"labradar-resaved SR0036 Report.csv", 0, "SR0036", "2021-03-13", 13, 1153.076923,
          166.589546}, L::LabRadar},
        {{"shotmarker-export.csv", 0, "Shooter M", "2025-01-14", 20, 2194.389764, 14.468428},
         L::ShotMarker},
        {{"shotmarker-export.csv", 1, "unnamed", "2025-01-14", 1, 2111.548556, 0},
         L::ShotMarker},
        {{"shotmarker-export.csv", 2, "Shooter R test", "2025-01-14", 20, 2064.288058,
          23.296389}, L::ShotMarker},
        {{"shotmarker-export.csv", 3, "test", "2025-01-14", 7, 1814.210724, 24.478902},
         L::ShotMarker},
    };
    for (const auto& [expected, layout] : cases)
        expectSeries(samples, expected, layout);
    const auto target = readChronographSource(samples / "shotmarker-export.csv").value;
    EXPECT_EQ(target.series.size(), 4u); // the string of sighters only is left out
    EXPECT_EQ(target.series[3].shots.back().position->xIn, 4.74);
}

namespace {

// A file of one layout holding `speeds` (in the file's unit, tenths), as the device or a
// spreadsheet may write it.
std::string variantFile(int layout, const std::vector<double>& speeds, bool metric,
                        std::mt19937& random) {
    auto text = [&](double v, bool comma, bool groups) {
        std::string t = formatPattern(v, groups && v >= 1000 ? "#,##0.0" : "0.0");
        if (comma)
            for (char& c : t)
                c = c == '.' ? ',' : c == ',' ? '.' : c;
        return comma || groups ? "\"" + t + "\"" : (random() % 2 ? " " : "") + t;
    };
    const char* unit = metric ? "m/s" : "fps";
    std::string f;
    if (layout == 0) { // Garmin: iOS blanks, Android decimal commas or thousands groups
        const bool comma = random() % 3 == 0, groups = !comma && random() % 2;
        f = "\"Load, 1\"\n#,Speed (" + std::string(metric ? "MPS" : "FPS") + "),D\n";
        for (size_t i = 0; i < speeds.size(); ++i)
            f += std::to_string(i + 1) + "," + text(speeds[i], comma, groups) + ",0\n";
        f += "-,,\nAVG,1\n-,,\nDate,\"May 5, 2024\"\n";
    } else if (layout == 1) { // LabRadar: the device's, or re-saved by a spreadsheet
        const bool resaved = random() % 2;
        const std::string sep = resaved ? "," : ";";
        f = std::string(resaved ? "" : "sep=;\n") + "Series No" + sep + (resaved ? "5" : "0005") +
            sep + "\nUnits velocity" + sep + unit + sep + "\nShot ID" + sep + "V0" + sep +
            "Date" + sep + "Time" + (resaved ? ",Mine" : "") + "\n";
        for (size_t i = 0; i < speeds.size(); ++i)
            f += (resaved ? std::to_string(i + 1) : "000" + std::to_string(i + 1)) + sep +
                 (resaved ? text(speeds[i], random() % 2, false) : formatPattern(speeds[i], "0.0")) +
                 sep + "05-05-2024" + sep + "10:00:00" + (resaved ? ",x\n,a note\n" : "\n");
    } else { // ShotMarker: metres per second, a sighter first
        f = "ShotMarker Archived Data\nMay 05 2024,Load,1,300m,1\n"
            ",time,id,tags,score,x (inch),y (inch),v (m/s),v (fps)\n,1:00 pm,S1,sighter,1,0,0,1,3\n";
        for (size_t i = 0; i < speeds.size(); ++i)
            f += ",1:00 pm," + std::to_string(i + 1) + ",,1,0.5,-0.5," +
                 formatPattern(speeds[i], "0.0") + ",1\n";
    }
    return f;
}

// NULs and byte-order marks wherever they may stand, CR LF line ends.
std::string withNoise(std::string f, std::mt19937& random) {
    if (random() % 2)
        for (size_t at = f.find('\n'); at != std::string::npos; at = f.find('\n', at + 2))
            f.insert(at, "\r");
    for (int k = random() % 6; k > 0; --k)
        f.insert(random() % (f.size() + 1), random() % 2 ? std::string(1 + random() % 9, '\0')
                                                         : std::string("\xEF\xBB\xBF"));
    return f;
}

} // namespace

TEST(ChronographExport, RandomisedVariantsReadTheSameShots) {
    std::mt19937 random(28);
    for (int round = 0; round < 600; ++round) {
        const int layout = round % 3;
        const bool metric = layout == 2 || random() % 2;
        std::vector<double> speeds(1 + random() % 12);
        for (double& v : speeds)
            v = (metric ? 2500 + random() % 9000 : 8000 + random() % 30000) / 10.0;
        const std::string bytes = withNoise(variantFile(layout, speeds, metric, random), random);
        const auto read = readChronographExport(bytes);
        ASSERT_TRUE(read) << read.refusal << "\n" << bytes;
        ASSERT_EQ(read.value.series.size(), 1u);
        const std::vector<double> fps = read.value.series[0].speedsFps();
        ASSERT_EQ(fps.size(), speeds.size()) << bytes;
        for (size_t i = 0; i < fps.size(); ++i)
            EXPECT_NEAR(fps[i], metric ? speeds[i] / 0.3048 : speeds[i], 1e-9) << bytes;
        EXPECT_EQ(read.value.series[0].date, "2024-05-05");
    }
}

TEST(ChronographExport, RefusesHostileFilesNamingTheLine) {
    std::string many = "Shot 1,Shot 2\n";
    for (int i = 0; i < 1001; ++i)
        many += "2700,";
    const std::pair<std::string, const char*> cases[] = {
        {"T\n#,Speed (FPS)\n1,2650\n2,abc\n", "Line 4: 'abc' is not a number."},
        {"T\n#,Speed (FPS)\n1,nan\n", "Line 3: 'nan' is not a number."},
        {"T\n#,Speed (FPS)\n1,\"2,650,5\"\n", "Line 3: '2,650,5' is not a number."},
        {"T\n#,Speed (KMH)\n1,2650\n", "Line 2: the speed unit 'KMH' is not FPS, ft/s, MPS"},
        {"T\n#,Speed (FPS)\n-,\n", "Line 2: the header is followed by no shots."},
        {"T\n#,Speed (FPS)\n1,9" + std::string(400, '9') + "\n", "Line 3: the speed '9999"},
        {"Shot ID;V0\n1;-5\n", "Line 2: the speed '-5' is not a positive number."},
        {"Shot ID;V0\n1;0\n2;0.0\n", "every shot was missed (V0 = 0)"},
        {"Units velocity;knots;;\nShot ID;V0\n1;5\n", "Line 1: the speed unit 'knots'"},
        {"Series,1,Shots:,1\n1,1,2650,furlongs\n", "Line 2: the speed unit 'furlongs'"},
        {"ShotMarker Archived Data\nJan 1 2025,a,1,far,0\n", "Line 2: the distance 'far'"},
        {"ShotMarker Archived Data\n,time,id\n", "Line 2: a table of shots without its string"},
        {"ShotMarker Archived Data\nJan 1 2025,a,1,600y,0\n,time,id,tags,x (inch),y (inch)\n",
         "Line 3: the column 'v (m/s)' is missing."},
        {"ShotMarker Archived Data\nJan 1 2025,a,1,600y,0\n,time,id,tags,v (m/s),x (inch),"
         "y (inch)\n,1:00,1,,800,inf,0\n", "Line 4: the position 'inf' is not a number."},
        {"ShotMarker Archived Data\nJan 1 2025,a,1,600y,0\n,time,id,tags,v (m/s),x (inch),"
         "y (inch)\n,1:00,S1,sighter,800,0,0\n", "The file holds no shots."},
        {"Shot 1,Shot 2\n2650,fast\n", "Line 2: 'fast' is not a number."},
        {many, "Line 2: more than 1000 shots in one series."},
        {"Shot ID;V0\n1;2650\n2;26\xC3\x28\n", "Line 3: the text is not UTF-8."},
        {std::string("\xFF\xFE#\0,\0", 6), "The file is in UTF-16 (little endian)"},
        {"sep=;\nSeries No;0001;;\nShot ID;V0;V10", "Line 3: the header is followed by no"},
    };
    for (const auto& [bytes, refusal] : cases) {
        const auto read = readChronographExport(bytes);
        EXPECT_FALSE(read) << bytes;
        EXPECT_NE(read.refusal.find(refusal), std::string::npos) << bytes << " -> " << read.refusal;
    }
}

TEST(ChronographExport, DatesTimesAndNumbersAsTheDevicesWriteThem) {
    using namespace exportread;
    const std::pair<const char*, const char*> dates[] = {
        {"JULY 05, 2026 13:30", "2026-07-05"},       {"8. Februar 2025 um 10:08", "2025-02-08"},
        {"April 6, 2024 at 1:36\u202FPM", "2024-04-06"}, {"6 de abril de 2024", "2024-04-06"},
        {"12 f\u00E9vr. 2024", "2024-02-12"},          {"14. \u010Dervence 2023", "2023-07-14"},
        {"3 listopada 2022", "2022-11-03"},           {"2025\u5E742\u67088\u65E5", "2025-02-08"},
        {"2025\uB144 2\uC6D4 8\uC77C \uC624\uD6C4 1:00", "2025-02-08"}, {"25-07-2020", "2020-07-25"},
        {"07-25-2020", "2020-07-25"}, {"02.07.2024", "2024-07-02"}, {"2024-09-03", "2024-09-03"},
        {"juin 2024", ""}, {"31.02.2024", ""}, {"Mar 5 2024", "2024-03-05"}, {"mar 5", ""}};
    for (const auto& [text, iso] : dates)
        EXPECT_EQ(dateOf(text), iso) << text;
    EXPECT_EQ(dateOf("04-05-2024", DayMonth::DayFirst), "2024-05-04");
    const std::pair<const char*, const char*> times[] = {
        {"1:41:26\u202FPM", "13:41:26"}, {"12:06:02 am", "00:06:02"}, {"17:09", "17:09:00"},
        {"\u5348\u5F8C1:41:26", "13:41:26"}, {"13:00 PM", ""}, {"24:00:00", ""}, {"1:2:3", ""},
        {"1:41:26:", ""}};
    for (const auto& [text, clock] : times)
        EXPECT_EQ(clockTimeOf(text), clock) << text;
    const std::pair<const char*, std::optional<double>> numbers[] = {
        {"488,3", 488.3}, {"1,369.8", 1369.8}, {"1.369,8", 1369.8}, {"12,345,678.5", 12345678.5},
        {" -0.5 ", -0.5}, {"1,36.8", {}}, {"1.2.3", {}}, {"1e3", {}}, {"", {}}, {".", {}}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(deviceNumber(text), value) << text;
}
