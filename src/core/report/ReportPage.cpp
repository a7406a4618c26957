// The exported report page.
#include "ReportPage.h"
#include "core/common/SafeFile.h"
#include "core/common/UserFiles.h"

#include "core/common/Encoding.h"
#include "core/common/ProgramFolder.h"
#include "core/common/TextFile.h"

namespace fendrel {

namespace {

const char* const kCellOpen = "<TD WIDTH=\"10%\" VALIGN=Top>";

std::string headingCell(const std::string& text) {
    return plainLine(std::string(kCellOpen) + "<B><FONT COLOR=WHITE>" + text + "</B></TD>");
}

std::string valueCell(const std::string& text) {
    return plainLine(std::string(kCellOpen) + "<FONT COLOR=BLACK>" + text + "</TD>");
}

// A heading of the terminal ballistics columns: light blue, linked to the page explaining it.
std::string linkedHeadingCell(const std::string& text, const std::string& address,
                              const char* tip) {
    return plainLine("<TD WIDTH=\"10%\" VALIGN=Top BGCOLOR=\"#88C2F8\"><B><FONT COLOR=WHITE>"
                     "<A HREF=\"" +
                     address + "\" TITLE=\"" + tip + "\">" + text + "</A></B></TD>");
}

std::string centred(const std::string& text) {
    return plainLine("<P ALIGN=Center>" + text + "</P>");
}

std::string sectionHeading(const char* caption) {
    return plainLine(std::string("<P ALIGN=Center><B><FONT SIZE=4>") + caption + "</B></P>");
}

std::string tableStart() {
    return plainLine("<P ALIGN=CENTER><CENTER><TABLE BORDER CELLSPACING=1 CELLPADDING=7 "
                     "WIDTH=590>") +
           plainLine("<FONT SIZE=3>");
}

std::string tableEnd() {
    return plainLine("</TABLE>") + plainLine("</P>");
}

} // namespace

ReportPageLinks reportPageLinks(const std::filesystem::path& programFolder) {
    std::string folder = pathText(programFolder);
    while (folder.size() > 1 && folder.back() == std::filesystem::path::preferred_separator)
        folder.pop_back();
    const auto address = [&](const char* name) {
        return pathToHtmlText(folder + "\\" + resolveName(programFolder, name).filename().string());
    };
    return {address("html_bak.gif"), address("ICAO-StdMetro.htm"), address("mach-drag.htm"),
            address("w1_index.htm"), address("fp_energy.htm")};
}

std::string reportPage(const Report& shown, const ReportPageLinks& links) {
    // The page is written in the output file's code page, as the report was read from it.
    Report report = shown;
    report.title = utf8ToCp1252(shown.title);
    for (auto& header : report.headers)
        header = utf8ToCp1252(header);
    for (auto& row : report.parameters)
        for (auto& cell : row)
            cell = utf8ToCp1252(cell);
    for (auto& row : report.results)
        for (auto& cell : row)
            cell = utf8ToCp1252(cell);
    for (auto& footer : report.footers)
        footer = utf8ToCp1252(footer);
    std::string out;
    out += plainLine("<HTML>");
    out += plainLine("<HEAD>");
    out +=
        plainLine("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">");
    out += plainLine("<META NAME=\"Generator\"CONTENT=\"Fen - drel\">");
    out += plainLine("<TITLE>Fen-drel On-line Report</TITLE>");
    out += plainLine("</HEAD>");
    out += plainLine("<BODY BACKGROUND=\"" + links.background + "\" BGPROPERTIES=FIXED>");
    out += plainLine("<B><FONT FACE=\"Arial,Technical,Helvetica\"SIZE=5><P ALIGN=Center>" +
                     report.title + "</P>");
    out += plainLine("</B><FONT SIZE=3><P ALIGN=Center><A HREF=\"" + links.atmosphere + "\">" +
                     report.headers[1] + "</A></P>");
    out += plainLine("<P ALIGN=Center><A HREF=\"" + links.drag + "\">" + report.headers[2] +
                     "</A></P>");
    out += centred(report.headers[0]);

    out += sectionHeading(kConditionParameters);
    out += tableStart();
    out += plainLine("<TR BGCOLOR=\"#0000FF\">");
    for (const auto& cell : report.parameters[0])
        out += headingCell(cell);
    out += plainLine("</TR>");
    out += plainLine("<FONT COLOR=BLACK>");
    out += plainLine("<TR>");
    for (const auto& cell : report.parameters[1])
        out += valueCell(cell);
    out += plainLine("</TR>");
    out += tableEnd();

    out += sectionHeading(kExteriorBallisticsTable);
    out += tableStart();
    for (std::size_t r = 0; r < report.results.size(); ++r) {
        const auto& row = report.results[r];
        if (r == 0) {
            out += plainLine("<TR BGCOLOR=\"#0000C0\">");
            out += plainLine("<FONT COLOR=WHITE>");
            for (std::size_t c = 0; c < kResultColumns; ++c) {
                if (c < 5)
                    out += headingCell(row[c]);
                else if (c == 5)
                    out += linkedHeadingCell(row[c], links.penetration,
                                             "Terminal Ballistics- penetration index");
                else
                    out += linkedHeadingCell(row[c], links.energy,
                                             "Terminal Ballistics- foot pounds of energy");
            }
        } else {
            out += plainLine("<TR>");
            out += plainLine("<FONT COLOR=BLACK>");
            for (const auto& cell : row)
                out += valueCell(cell);
        }
        out += plainLine("</TR>");
    }
    out += tableEnd();

    for (std::size_t i = 0; i < 4; ++i)
        out += centred(report.footers[i]);
    out += sectionHeading(kTerminalBallistics);
    out += plainLine("<FONT SIZE=3>");
    for (std::size_t i = 4; i < kFooterLines; ++i)
        out += centred(report.footers[i]);
    out += plainLine("</BODY>");
    out += plainLine("</HTML>");
    return out;
}

std::string writeReportPage(const std::filesystem::path& file, const Report& report,
                            const std::filesystem::path& programFolder) {
    return saveUserFile(programFolder, file, reportPage(report, reportPageLinks(programFolder)))
        .refusal;
}

} // namespace fendrel
