#pragma once

// The server module's lock count: live objects plus outstanding LockServer calls. The server may
// be unloaded only while it is 0.
namespace trivane {

void LockModule();
void UnlockModule();
long ModuleLockCount();

} // namespace trivane
