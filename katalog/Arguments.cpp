// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Arguments.h"

#include <array>
#include <charconv>
#include <string_view>
#include <utility>

namespace katalog {

namespace {

std::optional<int> parseCount(std::string_view text, int largest) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 1 || value > largest)
        return std::nullopt;
    return value;
}

// Splits --name=value; value is empty when there is no '='.
bool splitInline(std::string_view argument, std::string_view& name,
                 std::optional<std::string_view>& value) {
    const auto eq = argument.find('=');
    if (!argument.starts_with("--") || eq == std::string_view::npos) {
        name = argument;
        value.reset();
        return false;
    }
    name = argument.substr(0, eq);
    value = argument.substr(eq + 1);
    return true;
}

} // namespace

std::optional<Arguments> parseArguments(int argc, const char* const* argv, std::string& error) {
    Arguments args;
    bool onlyFolders = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (onlyFolders || argument.empty() || argument[0] != '-' || argument == "-") {
            args.folders.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyFolders = true;
            continue;
        }
        std::string_view name;
        std::optional<std::string_view> inlineValue;
        splitInline(argument, name, inlineValue);
        // The option's value: after '=' or as the next argument.
        const auto value = [&]() -> std::optional<std::string_view> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < argc)
                return std::string_view(argv[++i]);
            error = "Die Option " + std::string(name) + " braucht einen Wert.";
            return std::nullopt;
        };
        // The switches without a value.
        const std::pair<std::array<std::string_view, 2>, bool Arguments::*> switches[] = {
            {{"-h", "--help"}, &Arguments::help},
            {{"--version", "--version"}, &Arguments::version},
            {{"-r", "--recursive"}, &Arguments::recursive},
            {{"-q", "--quiet"}, &Arguments::quiet},
            {{"--landscape", "--landscape"}, &Arguments::landscape},
        };
        const auto isSwitch = [&] {
            for (const auto& [names, member] : switches)
                if (name == names[0] || name == names[1]) {
                    args.*member = true;
                    return true;
                }
            return false;
        };

        if (isSwitch()) {
            if (inlineValue) {
                error = "Die Option " + std::string(name) + " nimmt keinen Wert.";
                return std::nullopt;
            }
        } else if (name == "-o" || name == "--output") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            if (v->empty()) {
                error = "Der Name der PDF-Datei fehlt.";
                return std::nullopt;
            }
            args.output = *v;
        } else if (name == "--title") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            args.title = std::string(*v);
        } else if (name == "--page") {
            const auto v = value();
            if (!v)
                return std::nullopt;
            if (*v == "A4" || *v == "a4")
                args.paper = PaperSize::A4;
            else if (*v == "Letter" || *v == "letter")
                args.paper = PaperSize::Letter;
            else {
                error = "Unbekanntes Papierformat \"" + std::string(*v) + "\" (A4 oder Letter).";
                return std::nullopt;
            }
        } else if (name == "--columns" || name == "--rows") {
            const bool columns = name == "--columns";
            const auto v = value();
            if (!v)
                return std::nullopt;
            const int largest = columns ? kMaxColumns : kMaxRows;
            const auto n = parseCount(*v, largest);
            if (!n) {
                error = std::string(columns ? "Die Spaltenzahl" : "Die Zeilenzahl") +
                        " muss zwischen 1 und " + std::to_string(largest) + " liegen, nicht \"" +
                        std::string(*v) + "\".";
                return std::nullopt;
            }
            (columns ? args.columns : args.rows) = *n;
        } else {
            error = "Unbekannte Option " + std::string(name) + ".";
            return std::nullopt;
        }
    }
    if (args.help || args.version)
        return args;
    if (args.folders.empty()) {
        error = "Kein Ordner angegeben.";
        return std::nullopt;
    }
    if (args.output.empty()) {
        error = "Keine PDF-Datei angegeben (-o KATALOG.pdf).";
        return std::nullopt;
    }
    return args;
}

std::string helpText() {
    return "Aufruf: nadelix-katalog [OPTIONEN] ORDNER... -o KATALOG.pdf\n"
           "\n"
           "Schreibt einen Katalog der Stickmuster in den Ordnern als PDF: je Muster sein Bild,\n"
           "der Dateiname, das Format, die Größe in Millimetern, die Zahl der Stiche und der\n"
           "Farben und eine Reihe seiner Garnfarben.\n"
           "\n"
           "Optionen:\n"
           "  -o, --output DATEI   die PDF-Datei, die geschrieben wird\n"
           "      --page A4|Letter Papierformat (Vorgabe: A4)\n"
           "      --landscape      Querformat statt Hochformat\n"
           "      --columns N      Muster nebeneinander auf einer Seite (Vorgabe: 3)\n"
           "      --rows N         Reihen von Mustern auf einer Seite (Vorgabe: 4; höchstens 8\n"
           "                       bei A4 hoch, 7 bei A4 hoch mit Abschnitten und bei Letter\n"
           "                       hoch, 5 quer, damit Platz für die Bilder bleibt)\n"
           "      --title TEXT     Titel über jeder Seite (Vorgabe: der Name des Ordners)\n"
           "  -r, --recursive      auch die Unterordner, jeder als eigener Abschnitt\n"
           "  -q, --quiet          keine Fortschrittsanzeige\n"
           "  -h, --help           diese Hilfe zeigen\n"
           "      --version        die Version zeigen\n"
           "\n"
           "Eine Datei, die sich nicht lesen lässt, erscheint mit dem Grund im Katalog.\n"
           "Strg+C bricht ab, ohne eine halbe PDF-Datei zu hinterlassen.\n";
}

} // namespace katalog
