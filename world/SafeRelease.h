// SafeRelease.h: giving up a held interface once, however often the owner's Release runs.
#pragma once

// Releases the interface, if any, and clears the pointer so that a later call gives up nothing.
template <typename Interface>
void SafeRelease(Interface*& pointer) {
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}
