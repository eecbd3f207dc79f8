// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Feeds arbitrary bytes to one reader (or, for the load target, through the name dispatch)
// and checks what must hold after any input. Built once per target with FUZZ_TARGET set.
#include "ReusedDesign.h"

#include "design/DesignModel.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void checkInvariants(const DesignModel& m) {
    const std::size_t n = m.m_StitchCmd.size();
    if (m.m_StitchX.size() != n || m.m_StitchY.size() != n)
        fail("entry arrays of different lengths");
    if (n == 0 || m.m_StitchCmd[0] != CMD_FIRST)
        fail("entry 0 is not the first entry");
    for (std::size_t i = 0; i < n; ++i) {
        if (m.m_StitchCmd[i] == CMD_END) {
            if (m.m_StitchX[i] != END_MARK || m.m_StitchY[i] != END_MARK)
                fail("end entry without its mark");
            return;
        }
    }
    fail("no end entry inside the arrays");
}

// Names that reach every row of the dispatch and the names that match none.
const char* const kNames[] = {"A.PES", "A.PEC", "A.DST", "A.PCS",     "A.SEW",  "A.ART",
                              "A.HUS", "A.KRZ", ".PES",  "A.PES.DST", "A.PESX", "ROSEPES"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DesignModel& model = reusedDesign<DesignModel>();
    // The buffer holds exactly the input, so any read past it is caught by the sanitizer.
    model.m_FileData.assign(data, data + size);
    model.m_FileData.shrink_to_fit();
    // The entry arrays start small so that every growth path is taken.
    const std::size_t entries = size ? data[0] % 8 : 0;
    for (auto* v : {&model.m_StitchX, &model.m_StitchY}) {
        v->resize(entries);
        v->shrink_to_fit();
    }
    model.m_StitchCmd.resize(entries);
    model.m_StitchCmd.shrink_to_fit();
    if (entries == 0) { // a reader must manage even without any room made
        model.m_StitchX.push_back(0);
        model.m_StitchY.push_back(0);
        model.m_StitchCmd.push_back(CMD_FIRST);
    }

    const int length = static_cast<int>(size);
#if defined(FUZZ_LOAD)
    const std::string name = kNames[size ? data[size - 1] % std::size(kNames) : 0];
    model.DispatchByName(name, length);
    // Placard, empty view and unknown names leave the entries alone; only a reader's
    // result is painted as stitches, and only it must be terminated.
    if (model.m_bShowDesign == 1 && model.m_bStitchGraphics)
        checkInvariants(model);
#else
    model.FUZZ_READER(length);
    checkInvariants(model);
#endif
    return 0;
}
