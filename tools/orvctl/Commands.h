// The two commands of orvctl. Each takes the arguments after its own name.
#pragma once

namespace orvctl {

// Exit statuses shared by the commands.
constexpr int kNotUsable = 1; // check: ORV_Prepare would stop at the configuration;
                              // run: some call returned non-zero
constexpr int kToolError = 2; // the tool's own error: arguments, files, library, exports

int Check(int argc, char** argv);
int Run(int argc, char** argv);

} // namespace orvctl
