// The orva-cli subcommands. Each takes the arguments after its own name and
// returns the process exit status.
#pragma once

namespace orva::cli {

int runInfoCommand(int argc, char** argv);
int runDecodeCommand(int argc, char** argv);
int runPlayCommand(int argc, char** argv);
int runTagCommand(int argc, char** argv);
int runLyricsCommand(int argc, char** argv);
int runConvertCommand(int argc, char** argv);
int runListCommand(int argc, char** argv);
int runEncodeCommand(int argc, char** argv);

}  // namespace orva::cli
