#include "DirectoryReader.h"

#include "Names.h"

#include <dirent.h>
#include <sys/stat.h>

namespace platform {

bool DirectoryReader::open(const std::string& directory) {
    close();
    m_directory = withTrailingSeparator(directory);
    m_dir = ::opendir(directory.empty() ? "" : directory.c_str());
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
        if (d->d_type == DT_DIR) {
            entry.isDirectory = true;
        } else if (d->d_type == DT_REG) {
            entry.isDirectory = false;
        } else {
            // Links, and file systems that do not fill in the type: ask for the target.
            struct stat st {};
            const std::string path = m_directory + entry.name;
            entry.isDirectory = ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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
