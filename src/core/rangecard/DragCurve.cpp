#include "DragCurve.h"

#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "StandardDragTables.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fendrel {

namespace {

std::string_view trimmedField(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool isHeader(std::string_view line) {
    const auto comma = line.find(',');
    if (comma == std::string_view::npos)
        return false;
    auto lower = [](std::string_view s) {
        std::string out(trimmedField(s));
        for (char& c : out)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        return out;
    };
    return lower(line.substr(0, comma)) == "mach" && lower(line.substr(comma + 1)) == "cd";
}

} // namespace

const DragCurve& DragCurve::g1() {
    static const DragCurve curve = [] {
        DragCurve c;
        for (const MachCd& r : kG1Table)
            c.add(r.mach, r.cd);
        return c;
    }();
    return curve;
}

const DragCurve& DragCurve::g7() {
    static const DragCurve curve = [] {
        DragCurve c;
        for (const MachCd& r : kG7Table)
            c.add(r.mach, r.cd);
        return c;
    }();
    return curve;
}

void DragCurve::add(double mach, double cd) {
    if (!m_mach.empty())
        m_slope.push_back((cd - m_cd.back()) / (mach - m_mach.back()));
    m_mach.push_back(mach);
    m_cd.push_back(cd);
}

std::string DragCurve::parse(std::string_view text, DragCurve& curve) {
    if (const std::string encoding = utf16Encoding(text); !encoding.empty())
        return "it is in " + encoding + "; save it as UTF-8 or plain text";
    text = withoutUtf8Mark(text);
    DragCurve read;
    std::size_t lineNumber = 0;
    bool first = true;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmedField(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty())
            continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (first && isHeader(line)) {
            first = false;
            continue;
        }
        first = false;
        const auto comma = line.find(',');
        if (comma == std::string_view::npos || line.find(',', comma + 1) != std::string_view::npos)
            return where + "expected two numbers, \"mach,cd\"";
        const std::string_view machText = trimmedField(line.substr(0, comma));
        const std::string_view cdText = trimmedField(line.substr(comma + 1));
        if (!isDecimalNumber(machText) || !isDecimalNumber(cdText))
            return where + "expected two numbers, \"mach,cd\"";
        const double mach = leadingNumber(machText);
        const double cd = leadingNumber(cdText);
        if (!std::isfinite(mach) || !std::isfinite(cd) || mach < 0 || cd <= 0)
            return where + "the Mach number must be 0 or more and the drag coefficient above 0";
        // The program's own drag tables hold about 13 times the drag coefficient; no bullet's
        // coefficient comes near this.
        if (cd > kMaximumCd)
            return where + "a drag coefficient of " + generalNumber(cd) +
                   " is far above any bullet's (this is no drag curve of \"mach,cd\" lines)";
        if (!read.m_mach.empty() && mach <= read.m_mach.back())
            return where + "the Mach numbers must increase from line to line";
        read.add(mach, cd);
    }
    if (read.m_mach.size() < 2)
        return "a drag curve needs at least two \"mach,cd\" lines";
    curve = std::move(read);
    return {};
}

std::string DragCurve::load(const std::filesystem::path& path, DragCurve& curve) {
    const std::string name = path.string();
    // Opened without blocking and checked on the open file, so a FIFO or a device named as a
    // drag file is refused instead of waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return name + " cannot be opened: " + std::strerror(errno);
    struct stat info {};
    std::string bytes;
    std::string failure;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        failure = name + " is not a regular file";
    } else if (static_cast<std::uintmax_t>(info.st_size) > kMaxFileBytes) {
        failure = name + " is larger than 1 MB; a drag curve is much smaller";
    } else {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
    }
    ::close(fd);
    if (!failure.empty())
        return failure;
    if (const std::string reason = parse(bytes, curve); !reason.empty())
        return name + ", " + reason;
    return {};
}

} // namespace fendrel
