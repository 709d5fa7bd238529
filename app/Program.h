#pragma once

// The whole life of the process; returns its exit code.
int RunTapewren(int argc, char** argv);

class TFormMain;
enum class HandOverRequest;

// What a second start of the program asked of this one.
void AnswerSecondStart(TFormMain& form, HandOverRequest request);

// True when the first argument, lower-cased, is "w": the optimizer alone.
bool IsWizardArgument(int argc, char** argv);
