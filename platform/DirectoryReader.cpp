#include "DirectoryReader.h"

#include "FileSystem.h"
#include "Names.h"

#include <dirent.h>
#include <sys/stat.h>

namespace platform {

bool DirectoryReader::open(const std::string& directory) {
    close();
    m_directory = withTrailingSeparator(directory);
    if ((m_fs ? *m_fs : fileSystem()).openDirectory(directory.c_str(), m_dir) != 0)
        m_dir = nullptr;
    return m_dir != nullptr;
}

bool DirectoryReader::next(DirectoryEntry& entry) {
    if (!m_dir)
        return false;
    while (const dirent* d = ::readdir(static_cast<DIR*>(m_dir))) {
        const std::string_view name = d->d_name;
        if (name == "." || name == "..")
            continue;
        entry.name.assign(name);
        entry.isSymlink = d->d_type == DT_LNK;
        entry.isDirectory = d->d_type == DT_DIR;
        entry.isSpecial = d->d_type == DT_FIFO || d->d_type == DT_SOCK || d->d_type == DT_CHR ||
                          d->d_type == DT_BLK;
        if (d->d_type == DT_LNK || d->d_type == DT_UNKNOWN) {
            // Links, and file systems that do not fill in the type: ask for the target. A link
            // that leads nowhere (dangling, or a loop) counts as a file.
            struct stat st {};
            const std::string path = m_directory + entry.name;
            if (::stat(path.c_str(), &st) == 0) {
                entry.isDirectory = S_ISDIR(st.st_mode);
                entry.isSpecial = !S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode);
            }
        }
        return true;
    }
    return false;
}

void DirectoryReader::close() {
    if (m_dir)
        ::closedir(static_cast<DIR*>(m_dir));
    m_dir = nullptr;
}

} // namespace platform
