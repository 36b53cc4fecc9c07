// Storage for global objects that the C++ runtime never destroys.
#pragma once

// Made before any dynamic initialisation (other files take the objects' addresses in theirs)
// and never destroyed: after main or exit the objects' SDL resources may belong to a display
// that is gone. The objects are released by ReleaseAll in its order, or not at all.
template <typename Objects>
union Unreleased {
    constexpr Unreleased() : objects() {}
    ~Unreleased() {}
    Objects objects;
};
