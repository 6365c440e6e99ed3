#pragma once

#include <string>

namespace zendor {

// The game's temporary folder: a folder private to the user inside the system's temporary
// folder ($TMPDIR, else /tmp), created with mode 0700 where it does not exist and refused when
// it is not a real directory owned by this user. The returned path ends in '/'; on failure it is
// empty and `error` names the folder and the reason.
std::string PrivateTempFolder(std::string* error);

// `folder` as an absolute path, relative ones taken from the current folder; empty (with the
// reason in `error`) when the current folder cannot be found.
std::string AbsoluteFolder(const std::string& folder, std::string* error);

// Makes `folder` private in the same way (create 0700, check the owner, tighten the mode).
bool PreparePrivateFolder(const std::string& folder, std::string* error);

}  // namespace zendor
