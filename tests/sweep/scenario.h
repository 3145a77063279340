// One full stamping through the real module, as a user would do it: the host starts the
// plug-in, the application starts, the user picks the settings command, changes a few
// settings and presses OK on a three-artboard document of their own, and the host shuts
// down. Run clean it is the reference; run with one host call or allocation failing it
// must end with the document, the host and the next run all sound.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "hostapi/HostAPI.h"

namespace sweep {

// One fault the host injects, or none.
struct FaultPoint {
  enum class Kind { None, Call, Allocation, Suite };
  Kind kind = Kind::None;
  uint64_t n = 0;         // the n-th numbered host call, or the n-th allocation, from 1
  ASErr code = 0;         // what a failing call answers
  // A call: counted among this operation's calls only ("" for all). A suite: its name, which
  // the host then does not have.
  std::string operation;
};

// A stamp as the document holds it.
struct Stamp {
  std::string text;  // UTF-8
  double h = 0;
  double v = 0;
  std::string font;
  double size = 0;
  int justification = 0;
  friend bool operator==(const Stamp&, const Stamp&) = default;
};
std::string Describe(const Stamp& stamp);

// What the clean run did, for naming fault points and judging the faulted runs.
struct Reference {
  std::vector<std::string> calls;       // the operation of each numbered call, in order
  std::vector<uint64_t> allocations;    // for each allocation, the numbered calls made before it
  uint64_t dialogOpened = 0;            // numbered calls made when the dialog stood built
  std::vector<std::string> suites;      // every suite acquired, by name
  std::vector<Stamp> stamps;
  double bleedBottom = 0;
  std::string pageBleeds;               // every page's, all four sides

  std::string toText() const;
  static Reference fromText(const std::string& text);
};

// The files a run needs, made once by the parent before any child starts.
struct Scene {
  std::filesystem::path module;
  std::filesystem::path document;   // the user's document, saved under a name with accents
  bool saved = true;                // false: the same document, opened as never saved
  std::string original;             // its text
  std::string originalUserArt;      // UserArt(original)
};
// Writes the document into `folder` and warms up what every child shares (the loaded
// module, which is never called in the parent, and the font catalogues).
Scene Prepare(const std::filesystem::path& module, const std::filesystem::path& fonts,
              const std::filesystem::path& folder);

// Everything of the document but our own: the saved SVG with every tagged text removed,
// then the stamp layer when nothing but empty groups is left in it, each page's bottom bleed
// and the canvas around the pages dropped; as one canonical XML text.
std::string UserArt(const std::string& svg);

// Said in the notes when the faulted command itself gave the reference stamps.
inline constexpr const char* kStampedInFull = "the faulted command stamped in full";

// The clean run: its reference, or a description of what went wrong, as text.
std::string CleanRun(const Scene& scene);
// One faulted run followed by the next normal one; the problems found, one per line, or ""
// when the fault was survived. `notes` receives what is worth counting but is not a fault
// (the host had to end the dialog, the faulted command still stamped in full...), one short
// line each.
std::string FaultedRun(const Scene& scene, const Reference& reference, const FaultPoint& fault, std::string& notes);

// The texts of the settings the user chooses, for the checks of the clean run.
inline constexpr int kArtboards = 3;
inline constexpr int kItemsShown = 3;  // number, name, date (the size is switched off)

}  // namespace sweep
