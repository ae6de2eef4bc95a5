#pragma once
namespace kesto {

class Session;

// The Source page's "&Browse".
void BrowseSource(Session &session);
// Measures SourcePath with the size tool and shows its summary.
void CalculateSourceSize(Session &session);

} // namespace kesto
