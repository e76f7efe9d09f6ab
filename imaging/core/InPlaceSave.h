#pragma once
// Writing a file over itself (keeping its inode, so its other names see the
// new content) without ever leaving a mix of old and new: the whole new
// content waits in a pending copy until the copy over the file is done.
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace glamora {

// Writes `content` over the existing regular file `path` itself. First the
// whole new content is kept, synced, in a pending copy in the first of
// `copyFolders` where one can be made (the target's own folder as a rule);
// then room for it is reserved in the file, so that a full disk fails before
// the first byte changes; only then is it copied over the file, and the
// pending copy goes once the file is whole on the disk. A copy cut short (by
// a kill, a crash) is finished by FinishPendingCopies. Throws
// FileError("Cannot create file <path>"), the file unchanged, when it cannot
// be opened, no pending copy can be kept or no room reserved.
void WriteInPlace(const std::string& path, const std::vector<uint8_t>& content,
                  const std::vector<std::string>& copyFolders);

// Finishes what in-place saves killed midway left in `folder`: each pending
// copy whose file is still there is copied over it and removed; one whose
// file is gone or was replaced since is removed. The copies of saves still
// running are left alone, and so is a copy that cannot be finished now (the
// disk full), to be finished later.
void FinishPendingCopies(const std::string& folder);

// Finishes the in-place copies that saves killed midway left in `folder`
// (with subfolders, in the folders inside it too) and in the fallback folder
// of pending copies, then removes the stale temporaries of saves (see
// RemoveStaleTemporaries). Every save runs it for its target's folder; the
// program runs it at start for its folders.
void FinishInterruptedSaves(const std::string& folder, bool subfolders = false);

// Where pending copies go for files in folders where none can be made:
// "glamora/unfinished" in $XDG_STATE_HOME, else in ~/.local/state.
std::string PendingCopyFallbackFolder();

// The function that writes the bytes of an in-place save, of its pending
// copy and of a finished copy (pwrite by default). Tests put another in its
// place to fail or stop part-way; an empty function puts pwrite back.
using PositionedWrite = std::function<ssize_t(int fd, const void* data, size_t size, off_t offset)>;
void SetPositionedWrite(PositionedWrite write);

}  // namespace glamora
