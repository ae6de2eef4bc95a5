#pragma once
namespace kesto {

class Session;

// The Skip page's "&Browse" with "&Sub-dir" (subDir true) or "&File" selected.
void AddSkipEntry(Session &session, bool subDir);
void ClearSkipList(Session &session);

} // namespace kesto
