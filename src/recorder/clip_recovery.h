#pragma once
// Clips cut off while they were recorded. While it records, the recorder
// keeps a note of the clip's streams in the note folder; a clip closed
// complete takes its note away. A note left at the next start names a clip
// whose recording was cut off (a killed process, a power cut, a full disk),
// and the note's streams with the chunks in the clip make it whole again.
#include <windows.h>
// Needs the types of windows.h.
#include <vfw.h>

#include <string>
#include <vector>

#include "core/avi_repair.h"

namespace recorder {

// What a stream's header and format hold, as the AVI service reports them.
core::AviStreamNote NoteOfStream(IAVIStream* stream);

// The note of `clip` in `folder` (one note per clip path).
std::wstring NotePathFor(const std::wstring& folder, const std::wstring& clip);
bool WriteClipNote(const std::wstring& notePath, const core::ClipNote& note);

// True when the file at `clip` is one complete AVI.
bool IsCompleteClip(const std::wstring& clip);

enum class RepairResult {
  kRepaired,       // the clip was replaced by its repaired copy
  kNotNeeded,      // the clip is complete, or gone
  kNothingToKeep,  // not one whole chunk: the clip is left as it is
  kFailed,         // the repaired copy could not be written: the clip is left as it is
};
RepairResult RepairClip(const core::ClipNote& note);

// Repairs the clip of every note in `folder`. A note goes once its clip is
// dealt with; one whose repair failed stays for the next start. Returns the
// paths of the repaired clips.
std::vector<std::wstring> RepairCutOffClips(const std::wstring& folder);

}  // namespace recorder
