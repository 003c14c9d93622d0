# The product, 32-bit Windows: build, then the test suite under Wine with the real
# profile reader and RPC runtime.
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86
ctest --preset windows-x86
