# Native build over the stand-ins and fakes, and its whole test suite.
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native
