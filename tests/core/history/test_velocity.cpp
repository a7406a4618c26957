#include "TestFolder.h"
#include "core/history/ChronographCsv.h"
#include "core/history/ImportFile.h"
#include "core/history/VelocityStatistics.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>
#include <sys/stat.h>

using namespace fendrel;

TEST(VelocityStatistics, MatchesAnIndependentComputation) {
    std::mt19937 random(20);
    std::uniform_real_distribution<double> speed(800, 4000), spread(0.001, 80);
    std::vector<std::vector<double>> strings = {{2650}};
    for (int k = 0; k < 200; ++k) {
        std::vector<double> s(1 + random() % 60);
        const double centre = speed(random), width = spread(random);
        for (double& v : s)
            v = centre + width * std::generate_canonical<double, 53>(random);
        strings.push_back(s);
    }
    // Hundredths apart on a large mean: the one-pass sum of squares loses most digits here.
    strings.push_back({});
    for (int k = 0; k < 10; ++k)
        strings.back().push_back(2800 + 0.001 * k);
    for (const auto& s : strings) {
        long double mean = 0, m2 = 0; // Welford in extended precision
        for (size_t i = 0; i < s.size(); ++i) {
            const long double d = s[i] - mean;
            mean += d / (i + 1);
            m2 += d * (s[i] - mean);
        }
        const double sd = s.size() > 1 ? std::sqrt(static_cast<double>(m2 / (s.size() - 1))) : 0;
        const VelocityStatistics v = velocityStatistics(s);
        ASSERT_EQ(v.count, static_cast<int>(s.size()));
        EXPECT_NEAR(v.meanFps, static_cast<double>(mean), 1e-9 * v.meanFps);
        EXPECT_NEAR(v.sdFps, sd, 1e-9 * sd + 1e-12) << s.size();
        EXPECT_EQ(v.minFps, *std::min_element(s.begin(), s.end()));
        EXPECT_EQ(v.maxFps, *std::max_element(s.begin(), s.end()));
        EXPECT_EQ(v.esFps, v.maxFps - v.minFps);
    }
    EXPECT_EQ(velocityStatistics(strings.front()).sdFps, 0);
    EXPECT_EQ(velocityStatistics({}).count, 0);
}

TEST(ChronographCsv, ReadsTheExportLayouts) {
    const struct {
        const char* bytes;
        std::vector<double> shots;
    } cases[] = {
        {"Rifle test 1\r\nSHOT,SPEED (FPS),KE (FT-LB)\r\n1,2650.5,2600\r\n2,2661,2611\r\n"
         "-,,\r\nAVERAGE SPEED,2655.75,\r\nSTD DEV,7.4,\r\n",
         {2650.5, 2661}},
        {"\xEF\xBB\xBFNo.,Velocity (fps)\n1,2700\n\n2,2710\n", {2700, 2710}},
        {"#;Speed (m/s);Notes\r\n1;807,5;a\r\n2;810.25;\r\n-;;\r\nAVERAGE;808;\r\n",
         {807.5 / 0.3048, 810.25 / 0.3048}},
        {"Session \"A\", 2024\nShot,\"Speed, FPS\"\n1,\"2650\"\n", {2650}},
        {"FPS\n2600\n2605.5\n", {2600, 2605.5}},
        {"Chrono FPS test\nShot,Speed (FPS)\n1,2600\n", {2600}},
        {"2650\r\n 2655.25 \r\n2648\r\n", {2650, 2655.25, 2648}},
        {"m/s\n+800\n", {800 / 0.3048}},
    };
    for (const auto& c : cases) {
        const auto read = readChronographCsv(c.bytes);
        ASSERT_TRUE(read) << c.bytes << " -> " << read.refusal;
        ASSERT_EQ(read.value.size(), c.shots.size()) << c.bytes;
        for (size_t i = 0; i < c.shots.size(); ++i)
            EXPECT_DOUBLE_EQ(read.value[i], c.shots[i]) << c.bytes;
    }
}

TEST(ChronographCsv, RefusesNamingTheLineTypedShotsAndFilesThatCannotBeRead) {
    std::string many = "FPS\n";
    for (int i = 0; i < 1001; ++i)
        many += "2700\n";
    const struct {
        std::string bytes;
        const char* refusal;
    } cases[] = {
        {"", "The file holds no shots."},
        {"Title\nShot,Speed\n1,2650\n", "Line 1: not a chronograph export"},
        {"SHOT,FPS\n1,2650\n2,-2650\n", "Line 3: the speed '-2650' is not a positive number."},
        {"SHOT,FPS\n1,0\n", "Line 2: the speed '0' is not a positive number."},
        {"SHOT,FPS\n1,2650,5\n2,fast\n", "Line 3: 'fast' is not a number."},
        {"SHOT,FPS\n1,2650\n2\n", "Line 3: no value in the speed column (column 2)."},
        {"SHOT,FPS\n1,\n", "Line 2: no speed."},
        {"SHOT,FPS\n1,2650,5\n2,2650.5e1\n", "Line 3: '2650.5e1' is not a number."},
        {"T\nSHOT;FPS\n1;2650,5,5\n", "Line 3: '2650,5,5' is not a number."},
        {"SHOT,FPS\n1,20000.5\n", "Line 2: the speed '20000.5' is above 20000 ft/s."},
        {"SHOT,FPS\n1,9" + std::string(400, '9') + "\n", "is above 20000 ft/s"},
        {"FPS\n2650,5\n", "Line 2: more fields than the header names."},
        {"2650\n2650,5\n", "Line 2: '2650,5' is not a number."},
        {"T\n\nSHOT,FPS\n-,\n", "Line 3: the header is followed by no shots."},
        {"SHOT,FPS\n1,2650\n2,26\xC3\x28\n", "Line 3: the text is not UTF-8."},
        {many, "Line 1002: more than 1000 shots."},
        {"99999\n2650\n", "Line 1: the speed '99999' is above 20000 ft/s."},
        {std::string("SHOT,FPS\n1,26\0" "50\n", 16), "Line 2: '26\\x0050' is not a number."},
        {std::string("\xFF\xFES\0H\0O\0T\0", 10), "The file is in UTF-16 (little endian)"},
    };
    for (const auto& c : cases) {
        const auto read = readChronographCsv(c.bytes);
        EXPECT_NE(read.refusal.find(c.refusal), std::string::npos)
            << c.bytes.substr(0, 60) << " -> " << read.refusal;
        EXPECT_TRUE(read.value.empty());
    }
    // Typed shots, and files that cannot be read.
    EXPECT_EQ(readTypedShots(" 2650 2651.5,2652;\n2653 ").value,
              (std::vector<double>{2650, 2651.5, 2652, 2653}));
    EXPECT_EQ(readTypedShots("2650 x").refusal, "Shot 2: 'x' is not a number.");
    EXPECT_EQ(readTypedShots(" ").refusal, "Type at least one speed.");

    test::TestFolder folder(false);
    folder.write("big.csv", std::string(kMaximumImportBytes + 1, '1'));
    folder.write("ok.csv", "SHOT,FPS\n1,2650\n");
    ASSERT_EQ(::mkfifo((folder / "pipe.csv").c_str(), 0600), 0);
    // Refused without waiting for a writer (a wait would hang the test).
    EXPECT_NE(readChronographFile(folder / "pipe.csv").refusal.find("is not a regular file"),
              std::string::npos);
    EXPECT_NE(readImportFile(folder.path()).refusal.find("is not a regular file"),
              std::string::npos);
    EXPECT_NE(readImportFile(folder / "big.csv").refusal.find("too large"), std::string::npos);
    EXPECT_NE(readImportFile(folder / "none.csv").refusal.find("Cannot open"), std::string::npos);
    EXPECT_EQ(readChronographFile(folder / "ok.csv").value, std::vector<double>{2650});
}
