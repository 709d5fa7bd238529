#pragma once

// The whole life of the process; returns its exit code.
int RunTapewren(int argc, char** argv);

// True when the first argument, lower-cased, is "w": the optimizer alone.
bool IsWizardArgument(int argc, char** argv);
