// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignModel.h"

#include "Readers.h"

#include "platform/FileError.h"
#include "platform/ModalQuestions.h"
#include "platform/UpperCaseName.h"
#include "platform/WholeFile.h"

#include <algorithm>
#include <climits>

DesignModel::DesignModel()
    : m_FileData(kInitialFileData), m_FileList(kInitialFileNames, kFileNameGrowth) {}

void DesignModel::ReadPES(int length) {
    decodeWith(StitchFormat::Pes, length);
}
void DesignModel::ReadPEC(int length) {
    decodeWith(StitchFormat::Pec, length);
}
void DesignModel::ReadDST(int length) {
    decodeWith(StitchFormat::Dst, length);
}
void DesignModel::ReadPCS(int length) {
    decodeWith(StitchFormat::Pcs, length);
}
void DesignModel::ReadSEW(int length) {
    decodeWith(StitchFormat::Sew, length);
}

void DesignModel::decodeWith(StitchFormat format, int length) {
    // Never past the buffer, never negative.
    const std::size_t usable =
        length <= 0 ? 0
                    : std::min<std::size_t>(static_cast<std::size_t>(length), m_FileData.size());
    decodeDesign(*this, format, std::span<const std::uint8_t>(m_FileData.data(), usable));
    RequestRepaint();
}

void DesignModel::ShowPlacard(int) {
    m_bPcsColors = 0;
    m_bSewPalette = 0;
    m_bStitchGraphics = 0;
    m_bShowDesign = 1;
    RequestRepaint();
}

void DesignModel::ShowEmpty(int) {
    m_bPcsColors = 0;
    m_bSewPalette = 0;
    m_bShowDesign = 0;
    m_bStitchGraphics = 1;
    RequestRepaint();
}

int DesignModel::ReadDesignBytes(const std::string& path, std::vector<std::uint8_t>& buffer,
                                 std::optional<platform::FileError>& error) {
    platform::WholeFile file;
    try {
        // The readers count in 32 bits; a larger file is refused rather than cut short.
        platform::readWholeFile(path, buffer, platform::BufferRoom::GrowWhenShorterThanSize,
                                INT_MAX, file);
    } catch (const platform::FileError& failure) {
        error = failure;
    }
    return static_cast<int>(file.length);
}

// Reads the current file whole into m_FileData and returns the number of its bytes there.
// A failure is reported and the load goes on with what was read.
int DesignModel::readWholeFile() {
    std::optional<platform::FileError> error;
    const int length = ReadDesignBytes(m_strFilePath, m_FileData, error);
    if (error)
        platform::modalQuestions().messageBox(platform::fileErrorText(*error));
    return length;
}

namespace {
using Handler = void (DesignModel::*)(int);
struct DispatchRow {
    const char* text;
    Handler handler;
};
constexpr DispatchRow kDispatch[] = {
    {".PES", &DesignModel::ReadPES},     {".PEC", &DesignModel::ReadPEC},
    {".DST", &DesignModel::ReadDST},     {".PCS", &DesignModel::ReadPCS},
    {".SEW", &DesignModel::ReadSEW},     {".ART", &DesignModel::ShowPlacard},
    {".HUS", &DesignModel::ShowPlacard}, {".KRZ", &DesignModel::ShowEmpty},
};
} // namespace

bool DesignModel::makeCurrent(int index) {
    const SourceFileName& entry = m_FileList[static_cast<std::size_t>(index)];
    m_strFileName = entry.name;
    m_strFilePath = m_strSourceDir + entry.diskName;
    return !m_strFileName.empty();
}

void DesignModel::showCurrent(int length) {
    CurrentFileChanged();
    DispatchByName(m_strFileName, length);
}

void DesignModel::LoadFile(int index) {
    if (makeCurrent(index))
        showCurrent(readWholeFile());
}

void DesignModel::ShowReadFile(int index, std::vector<std::uint8_t>& data, int length,
                               const platform::FileError* error) {
    if (!makeCurrent(index))
        return;
    m_FileData.swap(data);
    if (error)
        platform::modalQuestions().messageBox(platform::fileErrorText(*error));
    showCurrent(length);
}

bool DesignModel::DispatchByName(const std::string& name, int length) {
    // The type's text anywhere after the first character picks the handler, first row first.
    const std::string upper = platform::upperCaseName(name);
    for (const DispatchRow& row : kDispatch) {
        const auto at = upper.find(row.text);
        if (at != std::string::npos && at >= 1) {
            (this->*row.handler)(length);
            return true;
        }
    }
    return false;
}
