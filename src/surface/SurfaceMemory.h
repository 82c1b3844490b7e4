// Pixel memory for surfaces: aligned blocks, a live-bytes budget and a small reuse pool.
#pragma once

#include <cstddef>

namespace fotavel {

// Returns a 64-byte aligned block of at least `bytes`, or nullptr when it cannot
// be had (out of memory, or the budget set below would be exceeded). Never throws.
//
// Blocks of 1 MiB and more are whole 2 MiB pages, mapped on a 2 MiB boundary
// and advised for transparent huge pages, so that the first touch of a large
// surface costs one fault per 2 MiB instead of one per 4 KiB page; where the
// system offers no huge pages they behave as any other memory. The budget
// below counts them at that rounded size.
//
// Large blocks freed earlier are reused when one of a fitting size is pooled:
// the first touch of freshly mapped memory costs several milliseconds per
// hundred megabytes, and a quarter turn or an undo copy of a 24-megapixel photo
// would otherwise pay it on every call.
void* AllocateSurfaceMemory(std::size_t bytes) noexcept;

// Gives a block back. `bytes` is the size it was asked for.
void FreeSurfaceMemory(void* block, std::size_t bytes) noexcept;

// Largest number of bytes that live surfaces may hold together; beyond it an
// allocation fails cleanly instead of leaving the kernel to kill the program.
// The default is unlimited. Returns the previous limit.
std::size_t SetSurfaceMemoryLimit(std::size_t bytes) noexcept;

// Bytes held by live surfaces (the pool not included).
std::size_t LiveSurfaceBytes() noexcept;

// How many bytes the reuse pool may keep (0 disables it). Returns the previous value.
std::size_t SetSurfacePoolCapacity(std::size_t bytes) noexcept;

// Makes the pool ready, a slice at a time, for `count` coming requests of
// `bytes`: maps the blocks it lacks and writes to every page of them, at most
// `sliceBytes` a call. True once the pool holds `count` such blocks written
// through (or when it would not keep them); call again until then.
//
// Fresh memory is dearest on virtual machines: the host supplies each page
// on its first touch, and takes back whatever the guest has left free for a
// couple of seconds. A program that waits for its user between two commands
// meets that on every command that needs a new surface (80 to 120 ms for a
// 24-megapixel one, several times the effect itself) unless the memory is
// made ready while the user looks.
bool WarmSurfaceMemory(std::size_t bytes, std::size_t count, std::size_t sliceBytes) noexcept;

// Writes to every small page of bytes [from, to) of a block, so that its
// first use later costs no fault. What the block held there is lost.
void TouchSurfaceMemory(void* block, std::size_t from, std::size_t to) noexcept;

// Hands every pooled block back to the system.
void ReleasePooledSurfaceMemory() noexcept;

}  // namespace fotavel
