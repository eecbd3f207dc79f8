// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// The entries of a directory, read straight from a descriptor open on it, many at a time.
// Starting one asks the file system nothing: the C library's listings ask for the
// descriptor's status first, which on a share costs a request for every listing.
class DirectoryListing {
public:
    // Takes over fd, a directory open for reading, and closes it in the end.
    explicit DirectoryListing(int fd) : m_fd(fd) {}
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;
    ~DirectoryListing();

    // The descriptor, open until the listing is deleted.
    int fd() const { return m_fd; }

    // The next entry ("." and ".." among them) and its type as a DT_ value; false at the end
    // of the listing, or when it cannot be read further. name holds until the next call.
    bool next(std::string_view& name, unsigned char& type);

private:
    int m_fd;
    std::size_t m_at = 0;  // where the next entry starts in the buffer
    std::size_t m_end = 0; // how much of the buffer the last read filled
    bool m_ended = false;
    // As much as the C library asks for at a time.
    alignas(8) char m_buffer[32 * 1024];
};

} // namespace platform
