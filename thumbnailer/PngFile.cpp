// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "PngFile.h"

#include "platform/AtomicWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

namespace thumbnailer {

namespace {

void put32(std::string& out, std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    out.append(bytes, 4);
}

void chunk(std::string& out, const char* type, const std::string& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(out.data() + start),
                           static_cast<uInt>(out.size() - start));
    put32(out, static_cast<std::uint32_t>(crc));
}

// A zlib stream of the bytes that looks only for runs of equal bytes: a thumbnail is mostly
// background, and the general search took half of the program's time for a few bytes less.
std::string deflateRuns(std::vector<Bytef>& raw) {
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
        return {};
    std::string packed(deflateBound(&z, static_cast<uLong>(raw.size())), '\0');
    z.next_in = raw.data();
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = reinterpret_cast<Bytef*>(packed.data());
    z.avail_out = static_cast<uInt>(packed.size());
    const int result = deflate(&z, Z_FINISH);
    const auto written = static_cast<std::size_t>(z.total_out);
    deflateEnd(&z);
    if (result != Z_STREAM_END)
        return {};
    packed.resize(written);
    return packed;
}

// The rows of a picture of at most 256 colours as palette indices, each row led by its filter
// byte (none), and the palette; false for more colours.
bool indexRows(const Picture& image, std::vector<Bytef>& raw, std::string& palette) {
    std::vector<std::uint32_t> colours;
    std::uint32_t last = 0;
    Bytef lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < image.height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width(); ++x) {
            const std::uint32_t c = image.pixel(x, y) | 0xFF000000u;
            // Most pixels repeat the one before (background, a line's run).
            if (!haveLast || c != last) {
                std::size_t i = 0;
                while (i < colours.size() && colours[i] != c)
                    ++i;
                if (i == colours.size()) {
                    if (colours.size() == 256)
                        return false;
                    colours.push_back(c);
                }
                last = c;
                lastIndex = static_cast<Bytef>(i);
                haveLast = true;
            }
            raw.push_back(lastIndex);
        }
    }
    for (const std::uint32_t c : colours) {
        const char rgb[3] = {static_cast<char>(c >> 16), static_cast<char>(c >> 8),
                             static_cast<char>(c)};
        palette.append(rgb, 3);
    }
    return true;
}

} // namespace

// A PNG of 8-bit palette indices (8-bit RGB for pictures of more colours) with every row
// unfiltered. The general encoder tries every filter on every row, which cost twice the rest
// of the program; a thumbnail is background and a few thread colours, which deflate packs
// well without a filter.
std::string encodePng(const Picture& pixels) {
    if (pixels.w < 1 || pixels.h < 1 ||
        pixels.pixels.size() !=
            static_cast<std::size_t>(pixels.w) * static_cast<std::size_t>(pixels.h))
        return {};
    const auto width = static_cast<std::size_t>(pixels.width());
    const auto height = static_cast<std::size_t>(pixels.height());
    std::vector<Bytef> raw;
    raw.reserve(height * (1 + width));
    std::string palette;
    const bool indexed = indexRows(pixels, raw, palette);
    if (!indexed) {
        raw.clear();
        raw.reserve(height * (1 + 3 * width));
        for (int y = 0; y < pixels.h; ++y) {
            raw.push_back(0);
            for (int x = 0; x < pixels.w; ++x) {
                const std::uint32_t c = pixels.pixel(x, y);
                raw.insert(raw.end(), {static_cast<Bytef>(c >> 16), static_cast<Bytef>(c >> 8),
                                       static_cast<Bytef>(c)});
            }
        }
    }
    std::string packed = deflateRuns(raw);
    if (packed.empty())
        return {};

    std::string header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    // 8 bits, palette or RGB colour, deflate, no filter method beyond none, no interlace.
    header.append(indexed ? "\x08\x03\x00\x00\x00" : "\x08\x02\x00\x00\x00", 5);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    chunk(png, "IHDR", header);
    if (indexed)
        chunk(png, "PLTE", palette);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", {});
    return png;
}

void writeWhole(const std::string& path, const std::string& bytes) {
    // Some callers (tumbler) make OUTPUT as an empty temporary file, keep it open and read the
    // picture through that descriptor once we are done: the renamed new file never reaches
    // them. So an empty file found there also gets the bytes, after it has lost its name.
    const int placeholder = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    const bool fill = placeholder >= 0 && ::fstat(placeholder, &st) == 0 && S_ISREG(st.st_mode) &&
                      st.st_size == 0;
    try {
        platform::AtomicFileWriter writer(path, platform::AtomicFileWriter::Mode::Replace);
        // The caller reads the picture at once and keeps its own copy; waiting for the disk
        // took longer than everything else together.
        writer.skipFlush();
        writer.write(bytes.data(), static_cast<std::size_t>(bytes.size()));
        writer.commit();
    } catch (...) {
        if (placeholder >= 0)
            ::close(placeholder);
        throw;
    }
    if (fill) {
        const char* p = bytes.data();
        std::size_t left = static_cast<std::size_t>(bytes.size());
        while (left > 0) {
            const ssize_t n = ::write(placeholder, p, left);
            if (n <= 0)
                break; // the named file is whole; only that caller goes without
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (placeholder >= 0)
        ::close(placeholder);
}

} // namespace thumbnailer
