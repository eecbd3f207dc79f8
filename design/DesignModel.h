#pragma once

#include "DecodeLoop.h"
#include "SourceFileList.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Commands of the entry list.
inline constexpr std::uint8_t CMD_FIRST = 0;
inline constexpr std::uint8_t CMD_STITCH = 1;
inline constexpr std::uint8_t CMD_JUMP = 2;
inline constexpr std::uint8_t CMD_COLOR_CHANGE = 4;
inline constexpr std::uint8_t CMD_END = 8;
// x and y of the end entry.
inline constexpr std::int16_t END_MARK = 0x55AA;

using ColorRef = std::uint32_t; // 0x00BBGGRR: red in the low byte

// The design that is shown: the entries, colours and bounds that a reader decodes from the
// current file, and the load step that reads the file and picks the reader. The design view
// derives from it and paints it; without a window it decodes just the same.
class DesignModel {
public:
    static constexpr std::size_t kInitialFileData = 100000;
    static constexpr std::size_t kInitialEntries = 50000;
    static constexpr std::size_t kInitialFileNames = 500;
    static constexpr std::size_t kFileNameGrowth = 100;
    static constexpr int kColorListSize = 64;

    DesignModel();
    virtual ~DesignModel() = default;

    // Reads the file at index of m_FileList and shows it.
    void LoadFile(int index);
    // Calls the handler that the name's type text picks; false when none matches.
    bool DispatchByName(const std::string& name, int length);

    // The handlers; each takes the file's length and finds its bytes in m_FileData.
    void ReadPES(int length);
    void ReadPEC(int length);
    void ReadDST(int length);
    void ReadPCS(int length);
    void ReadSEW(int length);
    void ShowPlacard(int length);
    void ShowEmpty(int length);

    struct PecResult {
        int k;
        std::int16_t x;
        std::int16_t y;
    };
    // Decodes PEC stitch data from position p into entries from k on.
    PecResult DecodePecStitches(int p, int length, int k);

    // Display state and palette selection.
    int m_bSewPalette = 0;
    int m_bShowDesign = 0;
    int m_bStitchGraphics = 0;
    std::array<ColorRef, 16> m_PcsColors{};
    int m_bPcsColors = 0;
    std::array<std::uint8_t, kColorListSize> m_ColorList{};

    int m_nColors = 0;
    int m_nHeight = 0;
    int m_nWidth = 0;
    std::int16_t m_nMinY = 0;
    std::int16_t m_nMaxY = 0;
    std::int16_t m_nMinX = 0;
    std::int16_t m_nMaxX = 0;

    // The current file: its shown (upper-cased) name and the full path it is read from.
    std::string m_strFileName;
    std::string m_strFilePath;
    // Directory of the file list, ending in a separator.
    std::string m_strSourceDir;

    std::vector<std::uint8_t> m_FileData;
    std::vector<std::int16_t> m_StitchX;
    std::vector<std::int16_t> m_StitchY;
    std::vector<std::uint8_t> m_StitchCmd;

    SourceFileList m_FileList;
    int m_nAktuell = 0;

protected:
    // Paints the changed model before returning; the window overrides it.
    virtual void RequestRepaint() {}
    // Called once the current file has been read and before its handler runs, so that what
    // shows the file's name can take the new one; a name that picks no handler comes here too.
    virtual void CurrentFileChanged() {}

private:
    // The byte at p of the current file, 0 at or beyond the file's length.
    std::uint8_t byteAt(std::int64_t p, int length) const {
        return p >= 0 && p < length ? m_FileData[static_cast<std::size_t>(p)] : 0;
    }
    // The file length a reader may trust: never past the buffer, never negative.
    int usableLength(int length) const;
    void sizeEntries(int length);
    void putEntry(int k, std::int16_t x, std::int16_t y, std::uint8_t cmd) {
        if (static_cast<std::size_t>(k) >= m_StitchCmd.size())
            growEntries(static_cast<std::size_t>(k) + 1);
        m_StitchX[static_cast<std::size_t>(k)] = x;
        m_StitchY[static_cast<std::size_t>(k)] = y;
        m_StitchCmd[static_cast<std::size_t>(k)] = cmd;
    }
    void growEntries(std::size_t atLeast);
    // Makes room for entries 0 to n - 1 before a decoding loop writes them unchecked.
    void reserveEntries(std::size_t n) {
        if (m_StitchCmd.size() < n)
            growEntries(n);
    }
    void resetBounds();
    PointBounds bounds() const { return {m_nMinX, m_nMaxX, m_nMinY, m_nMaxY}; }
    void setBounds(const PointBounds& b) {
        m_nMinX = b.minX, m_nMaxX = b.maxX, m_nMinY = b.minY, m_nMaxY = b.maxY;
    }
    void finishDesign(int endIndex);
    void setDisplayFlags(int sewPalette, int pcsColors);
    int readWholeFile();
};
