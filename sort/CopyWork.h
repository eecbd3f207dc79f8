// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CopyNames.h"

#include "platform/AtomicWrite.h"
#include "platform/Directory.h"
#include "platform/ExistingEntries.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The file work of a run of copies, in steps that run beside the window and ask nothing. Each
// step owns everything it touches (its own copies of the paths, shared holdings), so that a step
// the window walked away from, stuck on a share that stopped answering, touches nothing the
// window goes on using.

// What the steps of one run share: the source's bytes and the directories held open.
struct CopyHoldings {
    std::shared_ptr<std::vector<std::uint8_t>> bytes;
    std::optional<std::size_t> length; // the source's bytes in bytes, once read
    std::optional<platform::FileSystem::Status> sourceAsRead;
    std::shared_ptr<const platform::Directory> target;
    std::shared_ptr<const platform::Directory> sourceDirectory;
};

// The dialog's members a step reads, as they were when the run began.
struct CopyPaths {
    std::string strZiel;
    std::string strFilePath;
    std::string strFileName;
    bool askWhereToSave = false; // automatic renaming is off: a clash opens the save dialog
};

// Where a copy's name stands after the clash rule: free, or what the window is to ask or say.
enum class Clash { Free, AskWhereToSave, SameDesign, NoMoreNames };

// Where a copy goes: the path, and whether the user chose it to replace what is there.
struct CopyTarget {
    std::string path;
    bool replace = false;
};

// A copy written and waiting to take its name. A step that commits it owns it with the window.
struct PendingCopy {
    std::shared_ptr<const platform::Directory> directory; // outlives the writer
    std::unique_ptr<platform::AtomicFileWriter> writer;
    CopyNames names;
    std::size_t length = 0;
};

// One category's copy as far as it goes without a question.
struct CategoryStep {
    CopyHoldings held; // with the source read and the target opened, where they were
    std::shared_ptr<PendingCopy> pending;
    Clash clash = Clash::Free;
    bool ontoSource = false;
    std::optional<platform::FileError> error;
};

// Reads the source unless held has it (then sets sourceRead), opens and lists destination,
// applies the clash rule from names on and, where the name is free, writes the copy.
CategoryStep copyIntoCategory(CopyHoldings held, const CopyPaths& paths,
                              const std::string& destination, CopyNames names,
                              std::atomic<bool>& sourceRead);

// The clash rule from names' candidate on, with existing looking in its directory.
Clash settleClash(CopyNames& names, std::size_t length, const std::vector<std::uint8_t>& bytes,
                  platform::ExistingEntries& existing, bool askWhereToSave);

// Writes held's bytes for target: the writer holding them, or none when the target is the
// source itself (ontoSource then set; nothing to write). A target in directory is written
// relative to it, with existing's listing. Throws FileError.
std::unique_ptr<platform::AtomicFileWriter>
writeCopy(const CopyHoldings& held, const CopyTarget& target, const std::string& source,
          const platform::Directory* directory, const platform::ExistingEntries* existing,
          bool& ontoSource);

// Commits pending; where its name was taken meanwhile, applies the clash rule again from there.
// Free when committed (Clash::Free with committed true). Throws FileError.
struct CommitStep {
    bool committed = false;
    Clash clash = Clash::Free;
};
CommitStep commitCopy(PendingCopy& pending, const std::vector<std::uint8_t>& bytes,
                      bool askWhereToSave);

// Whether source is still the file as read, unchanged since (same file, size and last change).
bool unchangedSince(const std::string& source, const platform::FileSystem::Status& asRead);

// The end of a move: the copies' names made to survive a crash, then the source removed unless
// another program changed it since it was read.
enum class SourceRemoval { Removed, Changed, Failed };
SourceRemoval removeMovedSource(const std::vector<std::string>& copied, const std::string& source,
                                const std::optional<platform::FileSystem::Status>& asRead,
                                std::optional<platform::FileError>& error);
