// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Arguments.h"

#include <charconv>
#include <vector>

namespace thumbnailer {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<int> parseSize(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 1)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> localPath(const std::string& argument) {
    const auto colon = argument.find(':');
    const auto slash = argument.find('/');
    const bool hasScheme = colon != std::string::npos && colon > 0 &&
                           (slash == std::string::npos || colon < slash) &&
                           argument.compare(colon, 3, "://") == 0;
    if (!hasScheme)
        return argument.empty() ? std::nullopt : std::optional(argument);
    if (argument.compare(0, 7, "file://") != 0)
        return std::nullopt;
    std::string rest = argument.substr(7);
    if (rest.compare(0, 9, "localhost") == 0)
        rest.erase(0, 9);
    if (rest.empty() || rest[0] != '/')
        return std::nullopt; // another host's file
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '?' || rest[i] == '#')
            break;
        if (rest[i] == '%') {
            const int hi = i + 2 < rest.size() ? hexDigit(rest[i + 1]) : -1;
            const int lo = i + 2 < rest.size() ? hexDigit(rest[i + 2]) : -1;
            if (hi < 0 || lo < 0)
                return std::nullopt;
            const char byte = static_cast<char>(hi * 16 + lo);
            if (byte == '\0')
                return std::nullopt;
            path += byte;
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

std::optional<Arguments> parseArguments(int argc, const char* const* argv, std::string& error) {
    std::optional<int> size;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-s" || arg == "--size") {
            if (i + 1 >= argc) {
                error = "missing size after " + arg;
                return std::nullopt;
            }
            size = parseSize(argv[++i]);
            if (!size) {
                error = std::string("not a size: ") + argv[i];
                return std::nullopt;
            }
        } else if (arg.size() > 2 && arg.compare(0, 2, "-s") == 0) {
            size = parseSize(arg.substr(2));
            if (!size) {
                error = "not a size: " + arg.substr(2);
                return std::nullopt;
            }
        } else if (arg == "--") {
            for (++i; i < argc; ++i)
                positional.emplace_back(argv[i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }
    if (!size) {
        error = "no size given (-s SIZE)";
        return std::nullopt;
    }
    if (positional.size() != 2) {
        error = "expected INPUT and OUTPUT";
        return std::nullopt;
    }
    const auto input = localPath(positional[0]);
    if (!input) {
        error = "not a local file: " + positional[0];
        return std::nullopt;
    }
    if (positional[1].empty()) {
        error = "empty OUTPUT";
        return std::nullopt;
    }
    return Arguments{*size, *input, positional[1]};
}

} // namespace thumbnailer
