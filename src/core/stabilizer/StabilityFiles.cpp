// The calculator's saved pages: text and HTML, CR LF line ends, windows-1252 bytes.
#include "StabilityFiles.h"

#include "core/common/UserFiles.h"
#include "core/common/SafeFile.h"

#include "Stability.h"
#include "core/common/Encoding.h"
#include "core/common/ProgramFolder.h"
#include "core/common/TextFile.h"

namespace fendrel {

namespace {

const char* const kPageHeading = "Fen-drel Bullet Stabilization Calculator";

// One table cell: its opening tag, its content and its closing tag on three lines.
std::string cell(const std::string& content) {
    return plainLine("<td width=197 valign=top>") + plainLine(content) + plainLine("</td>");
}

} // namespace

bool savesAsText(const std::filesystem::path& chosen) {
    return chosen.filename().string().find(".txt") != std::string::npos;
}

std::string stabilityTextPage(const StabilityPage& page) {
    std::string out;
    out += plainLine(kPageHeading);
    out += plainLine("Caliber: " + page.caliber);
    out += plainLine("Muzzle velocity: " + page.muzzleVelocity);
    out += plainLine("Rate of twist: 1 in " + page.twist + " inches");
    out += plainLine("Results:");
    out += plainLine(page.results);
    return out;
}

std::string stabilityHtmlPage(const StabilityPage& page, const std::string& background) {
    // The lead-core lengths are taken back from the copper-alloy ones.
    const double leadStandard = page.standardLength * kCopperAlloyDivisor;
    const double leadModified = page.modifiedLength * kCopperAlloyDivisor;

    std::string out;
    out += plainLine("<HTML>");
    out += plainLine("<HEAD>");
    out +=
        plainLine("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">");
    out += plainLine("<META NAME=\"Generator\"CONTENT=\"Fen - drel\">");
    out += plainLine("<TITLE>Fen-drel On-line Report</TITLE>");
    out += plainLine("</HEAD>");
    out += plainLine("<BODY BACKGROUND=\"" + background + "\" BGPROPERTIES=FIXED>");
    out += plainLine("<B><FONT FACE=\"Arial,Technical,Helvetica\"SIZE=5><P ALIGN=Center>" +
                     std::string(kPageHeading) + " </P>");
    out += plainLine("<P ALIGN=CENTER><CENTER></B>");
    out += plainLine("<FONT SIZE=3>");
    out += plainLine("Caliber: " + page.caliber + " <BR>");
    out += plainLine("Muzzle velocity: " + page.muzzleVelocity + "<BR>");
    out += plainLine("Rate of twist: 1 in " + page.twist + " inches <BR>");
    out += plainLine("</P>");
    out += plainLine("<P ALIGN=LEFT>");
    out += plainLine("<table border=1 cellspacing=0 cellpadding=0 align=left bgcolor=white>");

    out += plainLine("<tr bgcolor=cyan>");
    out += cell("<p><B>Maximum bullet length (in.)</p>");
    out += cell("<p><B>Standard Greenhill's Formula</p>");
    out += cell("<p><B>Modified Greenhill's Formula</B></p>");
    out += plainLine("</tr>");

    out += plainLine("<tr bgcolor=white>");
    out += cell("<p><I>Standard lead core<sup>1</sup></I></p>");
    out += cell("<p >" + stabilityLength(leadStandard) + "</p>");
    out += cell("<p>" + stabilityLength(leadModified) + "</p>");
    out += plainLine("</tr>");

    out += plainLine("<tr>");
    out += cell("<p><I>Copper-alloy type<sup>2</sup></I></p>");
    out += cell("<p >" + stabilityLength(page.standardLength) + "</p>");
    out += cell("<p>" + stabilityLength(page.modifiedLength) + "</p>");
    out += plainLine("</tr>");

    out += plainLine("</table>");
    out += plainLine("<BR><BR><BR><BR><BR><BR><BR>");
    out += plainLine("1. Specific gravity of this bullet type is approximately 10.9<BR>");
    out += plainLine("2. Specific gravity of this bullet type is approximately 8.9");
    out += plainLine("</BODY>");
    out += plainLine("</HTML>");
    return out;
}

std::string stabilityBackground(const std::filesystem::path& programFolder) {
    std::error_code ec;
    const std::filesystem::path absolute =
        std::filesystem::absolute(programFolder, ec).lexically_normal();
    std::string folder = pathText(ec ? programFolder : absolute);
    while (folder.size() > 1 && folder.back() == std::filesystem::path::preferred_separator)
        folder.pop_back();
    const std::string image = resolveName(programFolder, "html_bak.gif").filename().string();
    return pathToHtmlText(folder + "\\" + image);
}

std::string saveStabilityPage(const std::filesystem::path& chosen, const StabilityPage& shown,
                              const std::filesystem::path& programFolder) {
    // The page as the window shows it (UTF-8, lines ended as it has them), in the file's form.
    StabilityPage page = shown;
    page.caliber = utf8ToCp1252(shown.caliber);
    page.muzzleVelocity = utf8ToCp1252(shown.muzzleVelocity);
    page.twist = utf8ToCp1252(shown.twist);
    page.results.clear();
    for (const char c : utf8ToCp1252(shown.results)) {
        if (c == '\n' && (page.results.empty() || page.results.back() != '\r'))
            page.results += '\r';
        page.results.push_back(c);
    }
    const std::string bytes = savesAsText(chosen)
                                  ? stabilityTextPage(page)
                                  : stabilityHtmlPage(page, stabilityBackground(programFolder));
    return saveUserFile(programFolder, chosen, bytes).refusal;
}

} // namespace fendrel
