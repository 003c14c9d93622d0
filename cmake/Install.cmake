# Installation rules and the CMake package (to be filled).
