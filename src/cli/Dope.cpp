// fendrel-calc dope: the DOPE card of a load as a one-page PDF: chosen rows with the elevation
// and clicks to dial and the windage of each wind bracket, the load and the day in its header.
#include "Commands.h"
#include "RangeCardOptions.h"

#include "core/common/Dates.h"
#include "core/common/PdfWriter.h"
#include "core/common/UserFiles.h"
#include "core/rangecard/DopeCard.h"

#include <string>

namespace fendrel::cli {

namespace {

constexpr const char* kName = "dope";


int run(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool metric = takeMetricFlag(args);
    std::vector<std::string> names = rangeCardOptionNames();
    for (const char* n : {"wind-brackets", "from", "to", "every", "size", "columns", "output",
                          "load", "date"})
        names.push_back(n);
    Options o;
    if (!parseOptions(kName, args, names, o))
        return 2;
    if (!o.positional.empty())
        return usageError(kName, "unexpected argument '" + o.positional.front() + "'");
    if (o.has("format"))
        return usageError(kName, "the DOPE card is a PDF: --format does not apply");
    for (const char* needed : {"from", "to", "every", "output"})
        if (!o.has(needed) || o.get(needed).empty())
            return usageError(kName, std::string("--") + needed + " is required");
    DopeCardInput in;
    if (int code = readRangeCardOptions(kName, o, metric, in.card))
        return code;
    if (int code = readWindBrackets(kName, o, in.card))
        return code;
    if (!o.has("wind-brackets"))
        in.card.windBrackets = metric ? std::vector<double>{2, 4} : std::vector<double>{5, 10};
    for (const auto& [name, value] :
         {std::pair{"from", &in.from}, {"to", &in.to}, {"every", &in.every}})
        if (int code = numberOption(kName, o, name, *value))
            return code;
    const std::string size = o.get("size", "card");
    if (size != "card" && size != "half" && size != "page")
        return usageError(kName, "--size must be card, half or page");
    in.size = size == "card"   ? DopeCardSize::Card
              : size == "half" ? DopeCardSize::HalfPage
                               : DopeCardSize::Page;
    const std::string columns = o.get("columns", "1");
    if (columns != "1" && columns != "2")
        return usageError(kName, "--columns must be 1 or 2");
    in.columns = columns == "1" ? 1 : 2;
    in.load = o.get("load");
    in.date = o.has("date") ? o.get("date") : todayIso();

    const Result<DopeCardLayout> layout = dopeCardLayout(in);
    if (!layout)
        return refused(kName, layout.refusal);
    const std::filesystem::path output = withSuffix(o.get("output"), "pdf");
    const Status saved =
        saveUserFile(programFolder(o), output, pdfDocument(layout.value.page, "DOPE card"));
    if (!saved)
        return refused(kName, output.string() + " cannot be written: " + saved.refusal);
    writeOut("DOPE card of " + std::to_string(layout.value.ranges.size()) + " rows written to " +
             output.string() + "\n");
    return 0;
}

Registrar registrar(kName,
                    "dope --bc B|B@FPS,... --drag G1|G7|FILE --velocity FPS [card options] "
                    "--from YD --to YD --every YD [--size card|half|page] [--columns 1|2] "
                    "[--wind-brackets MPH[,MPH...]] [--load NAME] [--date TEXT] "
                    "--output FILE.pdf",
                    run);

} // namespace

} // namespace fendrel::cli
