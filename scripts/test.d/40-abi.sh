# The binary interface of the product's Orvane.dll (built by the windows-x86 stage), then a
# quick proof that the check rejects a DLL that is not it (the fake routing client).
dir=build/windows-x86/bin
if [ ! -f $dir/Orvane.dll ]; then
  echo "40-abi: $dir/Orvane.dll is missing; run the windows-x86 stage first (scripts/test windows-x86 abi)"
  exit 1
fi
scripts/check-abi $dir/Orvane.dll || exit 1
if scripts/check-abi $dir/RoutingClient.dll >/dev/null; then
  echo "40-abi: self-test FAILED: check-abi accepted $dir/RoutingClient.dll"
  exit 1
fi
echo "40-abi: self-test ok: check-abi rejects $dir/RoutingClient.dll"
