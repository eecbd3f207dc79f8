// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DirectoryListing.h"

#include <cerrno>
#include <dirent.h>
#include <unistd.h>

namespace platform {

DirectoryListing::~DirectoryListing() {
    ::close(m_fd);
}

bool DirectoryListing::next(std::string_view& name, unsigned char& type) {
    if (m_at >= m_end) {
        if (m_ended)
            return false;
        ssize_t filled;
        do {
            filled = ::getdents64(m_fd, m_buffer, sizeof m_buffer);
        } while (filled < 0 && errno == EINTR);
        if (filled <= 0) {
            m_ended = true;
            return false;
        }
        m_at = 0;
        m_end = static_cast<std::size_t>(filled);
    }
    // The system fills the buffer with records of this layout, each d_reclen bytes long.
    const auto* entry = reinterpret_cast<const struct dirent64*>(m_buffer + m_at);
    m_at += entry->d_reclen;
    name = entry->d_name;
    type = entry->d_type;
    return true;
}

} // namespace platform
