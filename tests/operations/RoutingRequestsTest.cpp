// Resource requests and routing targets: one routing call each, values and the 80-byte
// block passed on unchanged, the routing status returned unchanged.
#include <cstring>
#include <string>

#include "OperationFixture.h"

namespace {

class RoutingRequestsTest : public orvtest::PreparedOperations {};

TEST_F(RoutingRequestsTest, RefusedUntilPrepared) {
    orvtest::ResetBindingsAndFakes();
    ORV_RESOURCE_REQUEST request = {};
    EXPECT_EQ(ORV_RequestResource(1, request, 2), ORV_E_NOT_PREPARED);
    EXPECT_EQ(ORV_FetchTarget(1, 2), ORV_E_NOT_PREPARED);
    EXPECT_EQ(ORV_FetchTargetEx(1, 2, 3), ORV_E_NOT_PREPARED);
    EXPECT_EQ(FakeCallCount(), 0) << orvtest::JournalText();
}

TEST_F(RoutingRequestsTest, BlockTravelsByValueByteForByte) {
    ORV_RESOURCE_REQUEST request;
    orvtest::FillPattern(request.bytes, sizeof request.bytes, 0);
    request.bytes[0] = 0;
    request.bytes[79] = 0xFF;
    const ORV_RESOURCE_REQUEST before = request;
    ASSERT_EQ(ORV_RequestResource(0xCAFEF00Du, request, 0x0BADF00Du), 0);
    ASSERT_EQ(FakeCallCount(), 1);
    const FakeCall* call = FakeCallAt(0);
    EXPECT_EQ(call->op, FAKE_ROUTING_RESOURCE);
    EXPECT_EQ(call->values[0], 0xCAFEF00Du);
    EXPECT_EQ(call->values[1], 0x0BADF00Du);
    ASSERT_EQ(call->byteCount, sizeof request.bytes);
    EXPECT_EQ(std::memcmp(call->bytes, before.bytes, sizeof before.bytes), 0);
    EXPECT_EQ(std::memcmp(request.bytes, before.bytes, sizeof before.bytes), 0);
    ExpectHandlesByLibrary();
}

TEST_F(RoutingRequestsTest, FetchTargetIsFetchTargetExWithZero) {
    ASSERT_EQ(ORV_FetchTarget(0xFFFFFFFFu, 17), 0);
    ASSERT_EQ(ORV_FetchTargetEx(0xFFFFFFFFu, 17, 0), 0);
    ASSERT_EQ(ORV_FetchTargetEx(1, 2, 3), 0);
    EXPECT_EQ(orvtest::JournalText(), "RoutingTargetFetch(4294967295,17,0)\n"
                                      "RoutingTargetFetch(4294967295,17,0)\n"
                                      "RoutingTargetFetch(1,2,3)\n");
    EXPECT_EQ(FakeCallAt(0)->handle, FakeCallAt(1)->handle);
    ExpectHandlesByLibrary();
}

TEST_F(RoutingRequestsTest, RoutingStatusIsReturnedUnchanged) {
    const ORV_STATUS statuses[] = {
        0, 1, -1, 1717, ORV_E_NOT_PREPARED, ORV_E_BINDING, static_cast<ORV_STATUS>(0x80000000u)};
    ORV_RESOURCE_REQUEST request = {};
    for (ORV_STATUS s : statuses) {
        FakeReset();
        FakeSetStatus(FAKE_ROUTING_RESOURCE, s);
        FakeSetStatus(FAKE_ROUTING_TARGET_FETCH, s);
        EXPECT_EQ(ORV_RequestResource(1, request, 2), s) << "status " << s;
        EXPECT_EQ(ORV_FetchTarget(1, 2), s) << "status " << s;
        EXPECT_EQ(ORV_FetchTargetEx(1, 2, 3), s) << "status " << s;
        EXPECT_EQ(FakeCallCount(), 3) << "status " << s << ": exactly one call each";
    }
}

} // namespace
