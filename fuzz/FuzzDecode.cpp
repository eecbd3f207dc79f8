// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Feeds arbitrary bytes to one of the readers only the thumbnailer uses, through the decode
// step, and checks what must hold after any input. Built once per format with FUZZ_FORMAT set.
#include "ReusedDesign.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DesignData& design = reusedDesign<DesignData>();
    // A copy of exactly the input, so that any read past it is caught by the sanitizer.
    const std::vector<std::uint8_t> bytes(data, data + size);
    decodeDesign(design, StitchFormat::FUZZ_FORMAT, bytes);

    const std::size_t n = design.m_StitchCmd.size();
    if (design.m_StitchX.size() != n || design.m_StitchY.size() != n)
        fail("entry arrays of different lengths");
    if (n == 0 || design.m_StitchCmd[0] != CMD_FIRST)
        fail("entry 0 is not the first entry");
    std::size_t end = 0;
    while (end < n && design.m_StitchCmd[end] != CMD_END)
        ++end;
    if (end == n)
        fail("no end entry inside the arrays");
    if (design.m_StitchX[end] != END_MARK || design.m_StitchY[end] != END_MARK)
        fail("end entry without its mark");
    if (design.m_nWidth < 0 || design.m_nHeight < 0)
        fail("negative extents");
    // Every block's colour comes from the file or from the table of colourless formats.
    if (design.m_bThreadColors && design.m_ThreadColors.size() > n)
        fail("more thread colours than entries");
    return 0;
}
