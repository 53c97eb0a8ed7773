#pragma once
// Start-up of the program: the objects that live for the whole run, created in order.
class TMainForm;

int runProgram(int argc, char** argv);

// Shows the main window and runs the event loop until the program ends; answers the
// process's exit status. An end requested before the loop starts (a failed start-up)
// ends at once, without showing the window.
int runMainLoop(TMainForm& mainForm);
