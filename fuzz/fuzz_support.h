// What every fuzz target of the file readers shares: a private folder to write the input
// into, message boxes that show nothing, and a process exit that comes back to the target.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Thrown by the exit handler instead of ending the process, so the fuzzer goes on with
// the next input after a reader gives up on a damaged file.
struct ProcessExitRequest {
    int status;
};

// Makes a fresh folder (in memory when /dev/shm exists) the current directory, sends
// message boxes and the file dialog nowhere, and turns ExitProcessNow into a throw.
// Call once, from LLVMFuzzerInitialize.
void PrepareReaderFuzzing();

// The full path of a file in that folder.
std::string FuzzFilePath(const std::string& name);

// Writes the input bytes as the named file of that folder, replacing it.
void WriteFuzzInput(const std::string& name, const std::uint8_t* data, std::size_t size);

// Stops the run with a message when an expectation about the reader's result fails; the
// fuzzer keeps the input that did it.
void FuzzExpect(bool holds, const char* what);
