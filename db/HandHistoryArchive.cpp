#include "db/HandHistoryArchive.h"

#include <zlib.h>

namespace kroDB {

namespace {

void Put16(std::string& out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::string Deflate(const std::string& content)
{
    z_stream zs{};
    // Raw deflate (negative window bits): the archive carries its own headers.
    if (deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        return std::string();
    }
    std::string out(deflateBound(&zs, static_cast<uLong>(content.size())), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    zs.avail_in = static_cast<uInt>(content.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&zs, Z_FINISH);
    const size_t produced = out.size() - zs.avail_out;
    deflateEnd(&zs);
    if (rc != Z_STREAM_END) {
        return std::string();
    }
    out.resize(produced);
    return out;
}

}  // namespace

std::wstring JoinHandLines(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const auto& line : lines) {
        text += line;
        text += L"\r\n";
    }
    return text;
}

std::wstring HexText(const std::string& bytes)
{
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

wchar_t StorageModeFromIndex(int index)
{
    static const wchar_t kModes[] = L"0U8z";
    return index >= 0 && index <= 3 ? kModes[index] : L'0';
}

std::string ZipSingleEntry(const std::string& content, std::time_t when)
{
    const std::string packed = Deflate(content);
    if (packed.empty() && !content.empty()) {
        return std::string();
    }
    std::tm local{};
    localtime_r(&when, &local);
    const uint32_t dosTime = (static_cast<uint32_t>(local.tm_hour) << 11) |
                             (static_cast<uint32_t>(local.tm_min) << 5) |
                             (static_cast<uint32_t>(local.tm_sec) / 2);
    const int year = local.tm_year + 1900 < 1980 ? 1980 : local.tm_year + 1900;
    const uint32_t dosDate = (static_cast<uint32_t>(year - 1980) << 9) |
                             (static_cast<uint32_t>(local.tm_mon + 1) << 5) |
                             static_cast<uint32_t>(local.tm_mday);
    const uint32_t crc = static_cast<uint32_t>(crc32(
        0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())));
    const auto unixTime = static_cast<uint32_t>(when);
    const std::string name = "hh";

    std::string zip;
    zip.reserve(1000 + packed.size());
    // Local header, with the extended timestamp (modification, access, creation).
    Put32(zip, 0x04034b50);
    Put16(zip, 20);
    Put16(zip, 0);
    Put16(zip, 8);
    Put16(zip, dosTime);
    Put16(zip, dosDate);
    Put32(zip, crc);
    Put32(zip, static_cast<uint32_t>(packed.size()));
    Put32(zip, static_cast<uint32_t>(content.size()));
    Put16(zip, static_cast<uint32_t>(name.size()));
    Put16(zip, 4 + 13);
    zip += name;
    Put16(zip, 0x5455);
    Put16(zip, 13);
    zip += static_cast<char>(7);
    Put32(zip, unixTime);
    Put32(zip, unixTime);
    Put32(zip, unixTime);
    zip += packed;

    const auto centralStart = static_cast<uint32_t>(zip.size());
    Put32(zip, 0x02014b50);
    Put16(zip, 0x0B17);
    Put16(zip, 20);
    Put16(zip, 0);
    Put16(zip, 8);
    Put16(zip, dosTime);
    Put16(zip, dosDate);
    Put32(zip, crc);
    Put32(zip, static_cast<uint32_t>(packed.size()));
    Put32(zip, static_cast<uint32_t>(content.size()));
    Put16(zip, static_cast<uint32_t>(name.size()));
    Put16(zip, 4 + 5);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, 0);
    // The archive attribute of the made-by system's file attributes.
    Put32(zip, 0x20);
    Put32(zip, 0);
    zip += name;
    Put16(zip, 0x5455);
    Put16(zip, 5);
    zip += static_cast<char>(7);
    Put32(zip, unixTime);
    const auto centralSize = static_cast<uint32_t>(zip.size()) - centralStart;

    Put32(zip, 0x06054b50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, 1);
    Put16(zip, 1);
    Put32(zip, centralSize);
    Put32(zip, centralStart);
    Put16(zip, 0);
    return zip;
}

}  // namespace kroDB
