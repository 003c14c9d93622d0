# The host kit's demo as the README gives it: the i686 product under Wine runs a whole
# session against the stand-in platform. orvctl's and the package's own tests run in the
# native and Windows stages; this proves the demo itself. Under emulation a crash may
# still exit 0, so the session's seven calls must each be seen answering 0.
out=$(scripts/demo 2>&1) || { echo "$out"; echo "50-host-kit: scripts/demo failed"; exit 1; }
echo "$out"
session=$(echo "$out" | tr -d '\r' | sed -n '/^== orvctl run --script samples\/session.orv/,/^$/p')
for call in ORV_Prepare ORV_LoginAgent ORV_AddSkill ORV_RequestResource ORV_FetchTarget \
            ORV_LogoutAgent ORV_Discard; do
  if ! echo "$session" | grep -q "^$call(.*) = 0"; then
    echo "50-host-kit: the demo's session shows no $call answering 0"
    exit 1
  fi
done
echo "50-host-kit: the demo ran a whole session"
