#pragma once
namespace kesto {

class Session;

// Checks a just-loaded job page by page; clears what no longer exists; sets JobValid.
void ValidateJob(Session &session);

} // namespace kesto
