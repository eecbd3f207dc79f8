// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/AtomicWrite.h"

#include <QIODevice>

#include <optional>
#include <string>

namespace katalog {

// The catalogue's file as the PDF writer sees it: the bytes go to a file without a name until
// commit gives it its name, so an interrupted catalogue leaves nothing under that name, and a
// catalogue there before stays whole until the new one is complete.
class PdfFile : public QIODevice {
public:
    explicit PdfFile(std::string path);

    // Forces the bytes onto the disk and names the file; false with error's text when writing
    // failed at any point. A failed write closes the device at once.
    bool commit(std::string& error);
    // Drops what was written; later writes are taken and forgotten.
    void abandon() { m_abandoned = true; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    static constexpr std::size_t kPiece = 256 * 1024;
    void flushPending();

    std::string m_pending;
    bool m_created = false; // the first bytes reached the file
    platform::AtomicFileWriter m_writer;
    std::optional<std::string> m_error; // the first failure
    bool m_abandoned = false;
};

} // namespace katalog
