// Field and line reading over arbitrary bytes: every read makes progress, stays inside the
// bytes, and a record written with quotedRecord reads back field for field.
#include "FuzzSupport.h"

#include "core/common/TextFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Fields without a double quote are the ones quotedRecord can carry unchanged.
void checkQuotedRoundTrip(const std::vector<std::string>& fields) {
    std::vector<std::string> texts;
    for (const auto& f : fields)
        if (f.find('"') == std::string::npos)
            texts.push_back(f);
    if (texts.empty())
        return;
    const std::string line = fendrel::quotedRecord(texts);
    FUZZ_CHECK(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
    fendrel::FieldReader reader(line);
    std::vector<std::string> back;
    FUZZ_CHECK(reader.readRecord(texts.size(), back));
    FUZZ_CHECK(back == texts);
    FUZZ_CHECK(reader.atEnd());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    // The tail of the input picks the reads; the rest is the file.
    std::vector<std::uint8_t> ops(provider.ConsumeIntegralInRange<std::size_t>(0, 32));
    for (auto& op : ops)
        op = provider.ConsumeIntegral<std::uint8_t>();
    const std::string bytes = provider.ConsumeRemainingBytesAsString();

    fendrel::FieldReader reader(bytes);
    std::vector<std::string> seen;
    std::size_t before = reader.position();
    auto advanced = [&] {
        // A read that does not move on would make every "until the end" loop spin forever.
        FUZZ_CHECK(reader.position() > before);
        FUZZ_CHECK(reader.position() <= bytes.size());
        before = reader.position();
    };

    for (std::uint8_t op : ops) {
        if (reader.atEnd())
            break;
        switch (op % 3) {
        case 0: {
            std::string field = reader.readField();
            FUZZ_CHECK(field.size() <= bytes.size());
            seen.push_back(std::move(field));
            advanced();
            break;
        }
        case 1: {
            const std::string line = reader.readLine();
            FUZZ_CHECK(line.find('\r') == std::string::npos);
            FUZZ_CHECK(line.find('\n') == std::string::npos);
            advanced();
            break;
        }
        default: {
            std::vector<std::string> fields;
            const std::size_t count = 1 + op / 3 % 20;
            if (reader.readRecord(count, fields))
                FUZZ_CHECK(fields.size() == count);
            else
                FUZZ_CHECK(reader.atEnd());
            seen.insert(seen.end(), fields.begin(), fields.end());
            if (!fields.empty())
                advanced();
            break;
        }
        }
    }
    // The rest as a list file is read: field after field to the end.
    for (std::size_t guard = 0; !reader.atEnd(); ++guard) {
        FUZZ_CHECK(guard <= bytes.size());
        seen.push_back(reader.readField());
        advanced();
    }
    FUZZ_CHECK(reader.readField().empty());
    FUZZ_CHECK(reader.readLine().empty());

    checkQuotedRoundTrip(seen);
    return 0;
}
