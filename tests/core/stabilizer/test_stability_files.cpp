#include "core/common/TextFile.h"
#include "core/stabilizer/Stability.h"
#include "core/stabilizer/StabilityFiles.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

using namespace fendrel;

namespace {
StabilityPage page308() {
    const StabilityResult r = computeStability({"0.308", "2800", "10"});
    return {"0.308", "2800", "10", r.text, r.standardLength, r.modifiedLength};
}

std::string golden(const std::string& name) { return *readFileBytes(test::fixture(name)); }
} // namespace

TEST(StabilityFiles, PagesMatchTheGoldenFilesAndTheNameChoosesTheForm) {
    EXPECT_EQ(stabilityTextPage(page308()), golden("stabilizer/stab-308.txt"));
    EXPECT_EQ(stabilityHtmlPage(page308(), "/opt/fendrel\\html_bak.gif"),
              golden("stabilizer/stab-308.htm"));
    // Only a lower-case "txt" in the file name means text.
    for (const char* text : {"stab.txt", "/home/u/stab.txt.htm"})
        EXPECT_TRUE(savesAsText(text)) << text;
    for (const char* page : {"stab.TXT", "stab.htm", "stab", "/home/u/notes.txt/stab.htm"})
        EXPECT_FALSE(savesAsText(page)) << page;
    // A save chooses the form by the name and replaces the file.
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

    // The background names the image as it exists.
    const std::string base = folder.path().string();
    EXPECT_EQ(stabilityBackground(folder.path()), base + "\\html_bak.gif");
    folder.write("HTML_Bak.GIF", "GIF89a");
    EXPECT_EQ(stabilityBackground(base + "/"), base + "\\HTML_Bak.GIF");
}

