#pragma once
// Start-up of the program: the objects that live for the whole run, created in order.
int runProgram(int argc, char** argv);
