// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "DesignData.h"
#include "SourceFileList.h"

#include "platform/FileError.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The design that is shown: the entries, colours and bounds that a reader decodes from the
// current file, and the load step that reads the file and picks the reader. The design view
// derives from it and paints it; without a window it decodes just the same.
class DesignModel : public DesignData {
public:
    static constexpr std::size_t kInitialFileData = 100000;
    static constexpr std::size_t kInitialFileNames = 500;
    static constexpr std::size_t kFileNameGrowth = 100;

    DesignModel();
    virtual ~DesignModel() = default;

    // Reads the file at index of m_FileList and shows it.
    void LoadFile(int index);
    // Shows the file at index as LoadFile does, with its bytes read beforehand elsewhere: data
    // is the buffer as that read left it (it becomes m_FileData), length the bytes it
    // delivered, error its failure, if any, which is reported first as LoadFile reports it.
    // Reads a design file whole as LoadFile does (the buffer grows to the file's size, never
    // shrinks; files past 2 GiB are refused) and returns the bytes it delivered; a failure
    // lands in error and what was read before it is kept. Needs no model, so it runs anywhere.
    static int ReadDesignBytes(const std::string& path, std::vector<std::uint8_t>& buffer,
                               std::optional<platform::FileError>& error);
    void ShowReadFile(int index, std::vector<std::uint8_t>& data, int length,
                      const platform::FileError* error);
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

    // The current file: its shown (upper-cased) name and the full path it is read from.
    std::string m_strFileName;
    std::string m_strFilePath;
    // Directory of the file list, ending in a separator.
    std::string m_strSourceDir;

    std::vector<std::uint8_t> m_FileData;

    SourceFileList m_FileList;
    int m_nAktuell = 0;

protected:
    // Paints the changed model before returning; the window overrides it.
    virtual void RequestRepaint() {}
    // Called once the current file has been read and before its handler runs, so that what
    // shows the file's name can take the new one; a name that picks no handler comes here too.
    virtual void CurrentFileChanged() {}

private:
    // Decodes the file's length bytes with read, and repaints.
    void decodeWith(StitchFormat format, int length);
    int readWholeFile();
    // Makes the file at index current by name and path; false when it has no name.
    bool makeCurrent(int index);
    // What follows the read of the current file: telling who shows its name, then decoding.
    void showCurrent(int length);
};
