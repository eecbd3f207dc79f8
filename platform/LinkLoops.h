// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cerrno>

namespace platform {

// Whether a lookup by path that failed with error is worth asking again: it was interrupted,
// or it was refused for too many links, which is asked again twice at most. The system counts
// the links a lookup followed before a mount or unmount anywhere made it start over towards the
// new start, so a path within the limit is refused now and then; where a loop of links ends
// must not depend on what else the machine does. A path really over the limit costs two more.
inline bool askAgain(int error, int& askedForLinks) {
    return error == EINTR || (error == ELOOP && askedForLinks++ < 2);
}

} // namespace platform
