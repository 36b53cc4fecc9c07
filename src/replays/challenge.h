// A challenge: a course of the player's own, a drive on it to race and the course's name, in one
// file that a friend opens with `quonfel --challenge FILE`. `quonfel-map share` writes one.
//
//   quonfel-challenge 1\n        the magic and the version
//   name My loop\n               1 to 100 bytes of UTF-8 without control characters
//   map 1612\n                   the byte length of the map file that follows
//   <the map file's bytes>
//   keys 420\n                   the byte length of the key file that follows
//   <the key file's text>        then nothing more
//
// The map file is the course as the game reads it (a course text is kept as the map built from
// it), so its hash is the one the drive keeps. The drive is of the user-made course (11).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "course/course_map.h"
#include "replays/drive_keys.h"

constexpr std::size_t kLargestChallengeName = 100;
constexpr std::size_t kLargestChallengeKeys = 16u << 20;
// Room for the header lines, the largest map file and the largest key file.
constexpr std::size_t kLargestChallengeFile = kLargestChallengeKeys + (1u << 20);
static_assert(kLargestChallengeFile > kLargestChallengeKeys + kLargestMapFile + 256, "room for the header lines");
// What a challenge file is called and how a desktop knows it.
constexpr const char* kChallengeExtension = ".quonfel-challenge";

struct Challenge {
    std::string name;
    std::vector<std::uint8_t> map;  // a map file's bytes
    std::string keys;               // a key file's text
};

// The file's bytes.
std::vector<std::uint8_t> FormatChallenge(const Challenge& challenge);
// Takes the file's bytes apart and checks what they hold: the map is one the user map reader
// reads through, the drive is a drive of the user-made course on that very map. Empty when it
// is fine, else the problem in a few words ("truncated: the key file is 30 bytes short").
std::string ReadChallenge(const std::vector<std::uint8_t>& bytes, Challenge& challenge, DriveRecord& drive);
// ReadChallenge on a file: a regular file of at most kLargestChallengeFile bytes.
std::string ReadChallengeFile(const std::string& path, Challenge& challenge, DriveRecord& drive);

// The challenge of a course (a map file or a course text) and a drive on it, with the name of
// the course: the "# name:" line at the top of a course text, else the file's name without its
// folder and ending. Empty when it is made, else the problem with the file it concerns.
std::string MakeChallenge(const std::string& coursePath, const std::string& keyPath, Challenge& challenge);

// Writes the challenge as the file path names, whole or not at all, and never through a
// symbolic link. Empty when written, else why not.
std::string WriteChallengeFile(const std::string& path, const Challenge& challenge);

// The name, fit to be a file's name: no '/', no leading '.'.
std::string ChallengeFileStem(const std::string& name);
