#include "core/common/TextFile.h"
#include "core/stabilizer/Stability.h"
#include "core/stabilizer/StabilityFiles.h"
#include "support/TestFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace fendrel;

namespace {

StabilityPage page308() {
    const StabilityResult r = computeStability({"0.308", "2800", "10"});
    return {"0.308", "2800", "10", r.text, r.standardLength, r.modifiedLength};
}

std::string golden(const std::string& name) {
    return *readFileBytes(test::fixture(name));
}

} // namespace

TEST(StabilityFiles, OnlyLowerCaseTxtInTheFileNameMeansText) {
    EXPECT_TRUE(savesAsText("stab.txt"));
    EXPECT_TRUE(savesAsText("/home/u/stab.txt.htm"));
    EXPECT_FALSE(savesAsText("stab.TXT"));
    EXPECT_FALSE(savesAsText("stab.htm"));
    EXPECT_FALSE(savesAsText("stab"));
    EXPECT_FALSE(savesAsText("/home/u/notes.txt/stab.htm"));
}

TEST(StabilityFiles, PagesMatchTheirGoldenFiles) {
    EXPECT_EQ(stabilityTextPage(page308()), golden("stabilizer/stab-308.txt"));
    EXPECT_EQ(stabilityHtmlPage(page308(), "/opt/fendrel\\html_bak.gif"),
              golden("stabilizer/stab-308.htm"));
}

TEST(StabilityFiles, BackgroundNamesTheImageAsItExists) {
    test::TestFolder folder(false);
    const std::string base = folder.path().string();
    EXPECT_EQ(stabilityBackground(folder.path()), base + "\\html_bak.gif");
    folder.write("HTML_Bak.GIF", "GIF89a");
    EXPECT_EQ(stabilityBackground(base + "/"), base + "\\HTML_Bak.GIF");
}

TEST(StabilityFiles, SaveChoosesTheFormByNameAndReplaces) {
    test::TestFolder folder(false);
    StabilityPage p = page308();
    ASSERT_EQ(saveStabilityPage(folder / "stab.txt", p, folder.path()), "");
    EXPECT_EQ(folder.read("stab.txt"), stabilityTextPage(p));
    ASSERT_EQ(saveStabilityPage(folder / "stab.TXT", p, folder.path()), "");
    EXPECT_EQ(folder.read("stab.TXT").rfind("<HTML>\r\n", 0), 0u);

    // A shorter second save leaves nothing of the first behind.
    p.results = "short\r\n";
    ASSERT_EQ(saveStabilityPage(folder / "stab.txt", p, folder.path()), "");
    EXPECT_EQ(folder.read("stab.txt"), stabilityTextPage(p));

    EXPECT_NE(saveStabilityPage(folder / "missing" / "stab.htm", p, folder.path()), "");
}

TEST(StabilityCommand, PrintsTheResultsAndSavesThePage) {
    const std::string calc = std::string(FENDREL_BIN_DIR) + "/fendrel-calc";
    if (!std::filesystem::exists(calc))
        GTEST_SKIP() << "fendrel-calc is not built";
    test::TestFolder folder(false);
    auto calcRun = [&](const std::string& args) {
        const int status = std::system((calc + " stability " + args + " --program-folder " +
                                        folder.path().string() + " >" + (folder / "out").string() +
                                        " 2>" + (folder / "err").string())
                                           .c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    ASSERT_EQ(calcRun("--caliber 0.308 --velocity 2800 --twist 10 --save " +
                      (folder / "stab.htm").string()),
              0);
    EXPECT_EQ(folder.read("out"), page308().results);
    EXPECT_EQ(folder.read("stab.htm"),
              stabilityHtmlPage(page308(), stabilityBackground(folder.path())));

    EXPECT_EQ(calcRun("--caliber 1.0001 --velocity 2800 --twist 10"), 1);
    EXPECT_EQ(folder.read("err").rfind("The caliber you entered is invalid.", 0), 0u);
    EXPECT_EQ(calcRun("--caliber 0.308 --velocity 2800"), 2);
}
