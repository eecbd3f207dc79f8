// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignKind.h"

#include <array>
#include <cstring>
#include <string_view>

namespace thumbnailer {

namespace {

struct Extension {
    const char* upper;
    DesignKind kind;
};
// A format a line, so that adding one touches one line.
// clang-format off
constexpr std::array<Extension, 20> kExtensions = {{
    {"PES", DesignKind::Pes},
    {"PEC", DesignKind::Pec},
    {"DST", DesignKind::Dst},
    {"PCS", DesignKind::Pcs},
    {"SEW", DesignKind::Sew},
    {"JEF", DesignKind::Jef},
    {"VP3", DesignKind::Vp3},
    {"EXP", DesignKind::Exp},
    {"XXX", DesignKind::Xxx},
    {"HUS", DesignKind::Hus},
    {"VIP", DesignKind::Vip},
    {"U01", DesignKind::U01},
    {"TAP", DesignKind::Tap},
    {"SHV", DesignKind::Shv},
    {"10O", DesignKind::Ext10o},
    {"DSB", DesignKind::Dsb},
    {"DSZ", DesignKind::Dsz},
    {"KSM", DesignKind::Ksm},
    {"STX", DesignKind::Stx},
    {"PHB", DesignKind::Phb},
}};
// clang-format on

// Leading bytes that only files of one format carry.
struct Signature {
    std::string_view bytes;
    std::size_t shortest; // files shorter than this are not taken as the format
    DesignKind kind;
};
using namespace std::string_view_literals;
constexpr std::array<Signature, 8> kSignatures = {{
    {"#PES"sv, 4, DesignKind::Pes},
    {"#PEC0001"sv, 8, DesignKind::Pec},
    {"LA:"sv, 513, DesignKind::Dst}, // the label that opens the 512-byte header
    {"%vsm%\0"sv, 6, DesignKind::Vp3},
    // Real HUS files open with either of two numbers.
    {"\x5B\xAF\xC8\x00"sv, 4, DesignKind::Hus},
    {"\x5D\xFC\xC8\x00"sv, 4, DesignKind::Hus},
    {"\x5D\xFC\x90\x01"sv, 4, DesignKind::Vip},
    {"#PHB"sv, 4, DesignKind::Phb},
}};

} // namespace

std::string_view extensionOf(DesignKind kind) {
    for (const auto& e : kExtensions)
        if (e.kind == kind)
            return e.upper;
    return {};
}

std::optional<DesignKind> kindFromName(const std::string& name) {
    // The name's type as the file managers' globs take it: a dot and three letters or digits
    // at its end, in either case.
    if (name.size() < 5 || name[name.size() - 4] != '.')
        return std::nullopt;
    std::string ext = name.substr(name.size() - 3);
    for (char& c : ext)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (const Extension& e : kExtensions)
        if (ext == e.upper)
            return e.kind;
    return std::nullopt;
}

std::optional<DesignKind> kindFromSignature(const std::uint8_t* data, std::size_t size) {
    for (const Signature& s : kSignatures)
        if (size >= s.shortest && size >= s.bytes.size() &&
            std::memcmp(data, s.bytes.data(), s.bytes.size()) == 0)
            return s.kind;
    return std::nullopt;
}

std::optional<DesignKind> kindOf(const std::string& name, const std::uint8_t* data,
                                 std::size_t size) {
    const auto byName = kindFromName(name);
    const auto bySignature = kindFromSignature(data, size);
    // DSB and DSZ open with DST's header: only their name tells them from it.
    if (bySignature == DesignKind::Dst && (byName == DesignKind::Dsb || byName == DesignKind::Dsz))
        return byName;
    return bySignature ? bySignature : byName;
}

} // namespace thumbnailer
