#pragma once

// `ondrel-metronome --export FILE.wav --bpm N ...`: writes a click track without a window or
// a sound device.
namespace ExportCommand {

// Whether the command line asks for an export.
bool Requested(int argc, char** argv);
// Runs it: 0 when the file is written, 2 for a bad argument, 1 when the file cannot be
// written; one line on standard error says what went wrong.
int Run(int argc, char** argv);

}  // namespace ExportCommand
