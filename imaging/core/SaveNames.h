#pragma once
// The names of the files a save keeps beside its target while it runs:
// ".<target name, cut to fit>.glamora-<12 hex digits><end>", within the
// 255-byte limit of a name whatever the target's, and recognisable as a
// save's own.
#include <string>
#include <string_view>

namespace glamora {

// A temporary holding the content being written.
inline constexpr std::string_view kTemporaryEnd = ".part";
// The whole new content of a file being written in place, kept until the
// copy over the file is done.
inline constexpr std::string_view kPendingCopyEnd = ".copy";

// A fresh name of that form for a file named `name`.
std::string SaveFileName(const std::string& name, std::string_view end);

// True when `name` has that form with this end.
bool IsSaveFileName(std::string_view name, std::string_view end);

}  // namespace glamora
