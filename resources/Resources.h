#pragma once
// The resources compiled into the program (":/cursors/..."). They live in a
// static library, so they must be registered once before the first use;
// calling this again does nothing.
namespace glamora {

void InitResources();

}  // namespace glamora
