#pragma once
#include <cstdint>

namespace tarvok {

// Told how far a long piece of work is, in units of its own (bytes of the
// copies, files of a delete), so that the program can show it and answer
// its window meanwhile.
class WorkProgress {
public:
    virtual ~WorkProgress() = default;
    // The units the whole work holds; told once, before any are done.
    virtual void Begin(uint64_t total) = 0;
    // `done` more units are done.
    virtual void Advance(uint64_t done) = 0;
};

} // namespace tarvok
