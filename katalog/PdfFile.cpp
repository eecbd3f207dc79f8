// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "PdfFile.h"

#include "platform/FileError.h"

namespace katalog {

PdfFile::PdfFile(std::string path)
    : m_writer(std::move(path), platform::AtomicFileWriter::Mode::Replace) {
    open(QIODevice::WriteOnly);
}

qint64 PdfFile::writeData(const char* data, qint64 size) {
    if (m_abandoned || m_error)
        return size; // the writer goes on to its end; nothing more reaches the disk
    // The PDF writer hands over a few bytes at a time; the disk gets them in large pieces.
    // The first bytes go at once: a folder that takes no file is then known before a single
    // design has been read.
    m_pending.append(data, static_cast<std::size_t>(size));
    if (m_pending.size() >= kPiece || !m_created)
        flushPending();
    return size;
}

void PdfFile::flushPending() {
    if (m_pending.empty() || m_abandoned || m_error)
        return;
    try {
        m_writer.write(m_pending.data(), m_pending.size());
        m_pending.clear();
        m_created = true;
    } catch (const platform::FileError& e) {
        // An exception must not pass through the PDF writer: the failure is kept, and the
        // device closes so that the catalogue stops.
        m_error = platform::fileErrorText(e);
        close();
    }
}

bool PdfFile::commit(std::string& error) {
    flushPending();
    if (m_error) {
        error = *m_error;
        return false;
    }
    try {
        m_writer.commit();
        return true;
    } catch (const platform::FileError& e) {
        error = platform::fileErrorText(e);
        return false;
    }
}

} // namespace katalog
