#include "parser/FileFingerprint.h"

#include <zlib.h>

#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace kroHandParser {

CFileFingerprint FileFingerprint(const std::string& path, int64_t size)
{
    CFileFingerprint print;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return print;
    }
    std::vector<char> buffer(1 << 16);
    uLong crc = crc32(0L, Z_NULL, 0);
    int64_t done = 0;
    while (size < 0 || done < size) {
        std::streamsize want = static_cast<std::streamsize>(buffer.size());
        if (size >= 0 && size - done < want) {
            want = static_cast<std::streamsize>(size - done);
        }
        in.read(buffer.data(), want);
        const std::streamsize got = in.gcount();
        if (got <= 0) {
            break;
        }
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(got));
        done += got;
    }
    if (size >= 0 && done < size) {
        return print;
    }
    print.size = done;
    print.crc = static_cast<uint32_t>(crc);
    return print;
}

bool FileUnchanged(const std::string& path, int64_t size, uint32_t crc)
{
    struct stat st
    {
    };
    if (size < 0 || ::stat(path.c_str(), &st) != 0 || static_cast<int64_t>(st.st_size) != size) {
        return false;
    }
    const CFileFingerprint now = FileFingerprint(path, size);
    return now.size == size && now.crc == crc;
}

}  // namespace kroHandParser
