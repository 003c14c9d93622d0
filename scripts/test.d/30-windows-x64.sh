# 64-bit Windows: build, then the test suite under wine64.
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64
ctest --preset windows-x64
