#include "companion/ReadHistoryFileEx.h"

#include "foundation/TextDecoding.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class CFd
{
public:
    explicit CFd(int fd)
        : m_fd(fd)
    {}
    ~CFd()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool ReadAt(int fd, int64_t offset, size_t size, std::string& out)
{
    out.resize(size);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, out.data() + done, size - done, offset + done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    out.resize(done);
    return true;
}

// Byte width of one code unit of the encoding's line terminators.
size_t UnitSize(TextEncoding enc)
{
    return enc == TextEncoding::Utf16Le || enc == TextEncoding::Utf16Be ? 2 : 1;
}

// The code unit at byte `i` of `bytes`.
unsigned UnitAt(const std::string& bytes, size_t i, TextEncoding enc)
{
    const auto b = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    if (enc == TextEncoding::Utf16Le) {
        return b(i) | (b(i + 1) << 8);
    }
    if (enc == TextEncoding::Utf16Be) {
        return (b(i) << 8) | b(i + 1);
    }
    return b(i);
}

}  // namespace

int ReadHistoryFileEx(const std::string& path,
                      int64_t& pos,
                      std::vector<std::wstring>& lines,
                      bool completeLinesOnly,
                      int64_t maxBytes)
{
    CFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return kReadCannotOpen;
    }
    struct stat st
    {
    };
    if (::fstat(fd.get(), &st) != 0) {
        return kReadFailed;
    }
    const int64_t size = st.st_size;
    if (pos < 0) {
        pos = 0;
    }
    if (pos > size) {
        return kReadPositionBeyondEnd;
    }

    std::string head;
    if (!ReadAt(fd.get(), 0, 3, head)) {
        return kReadFailed;
    }
    const TextEncoding enc = DetectTextEncoding(head);
    const size_t unit = UnitSize(enc);
    int64_t start = std::max<int64_t>(pos, static_cast<int64_t>(ByteOrderMarkSize(enc)));
    // Keep UTF-16 reads on unit boundaries.
    if (unit == 2 && (start % 2) != 0) {
        ++start;
    }
    if (start >= size) {
        pos = std::max(pos, std::min<int64_t>(start, size));
        return kReadOk;
    }

    const int64_t end = maxBytes >= 0 ? std::min(size, start + maxBytes) : size;
    std::string bytes;
    if (!ReadAt(fd.get(), start, static_cast<size_t>(end - start), bytes)) {
        return kReadFailed;
    }
    size_t usable = bytes.size() - (bytes.size() % unit);

    // A CR LF pair split between two reads: the LF belongs to a line already
    // delivered.
    size_t first = 0;
    if (start >= static_cast<int64_t>(ByteOrderMarkSize(enc) + unit) && usable >= unit &&
        UnitAt(bytes, 0, enc) == '\n') {
        std::string before;
        if (ReadAt(fd.get(), start - static_cast<int64_t>(unit), unit, before) &&
            before.size() == unit && UnitAt(before, 0, enc) == '\r') {
            first = unit;
        }
    }

    // One allocation for the lines' list instead of a copy at each doubling.
    lines.reserve(
        lines.size() + 1 +
        static_cast<size_t>(std::count(bytes.begin() + static_cast<std::ptrdiff_t>(first),
                                       bytes.begin() + static_cast<std::ptrdiff_t>(usable), '\n')));
    size_t lineStart = first;
    size_t consumed = first;
    size_t i = first;
    while (i < usable) {
        const unsigned u = UnitAt(bytes, i, enc);
        if (u != '\n' && u != '\r') {
            i += unit;
            continue;
        }
        size_t next = i + unit;
        if (u == '\r') {
            if (next < usable && UnitAt(bytes, next, enc) == '\n') {
                next += unit;
            } else if (next >= usable && completeLinesOnly) {
                // A lone CR at the end may be the first half of CR LF.
                break;
            }
        }
        lines.push_back(DecodeText(std::string_view(bytes).substr(lineStart, i - lineStart), enc));
        lineStart = next;
        consumed = next;
        i = next;
    }
    if (!completeLinesOnly && lineStart < usable) {
        lines.push_back(
            DecodeText(std::string_view(bytes).substr(lineStart, usable - lineStart), enc));
        consumed = usable;
    }
    pos = start + static_cast<int64_t>(consumed);
    return kReadOk;
}
