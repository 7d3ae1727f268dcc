// The service threads as start-up creates them: each fetch ends with status
// 1 against the bench, and destroying a thread that waits on a silent
// service ends its body through the stop signal, not by force.
#include <gtest/gtest.h>

#include <memory>

#include "services/read_pkg_info_thread.h"
#include "services/read_server_info_thread.h"
#include "services/tests/services_fixture.h"
#include "services/tests/stack_admin.h"
#include "velora_profile.h"

namespace {

constexpr char kIndexPath[] = "/installer/package/index";

TEST(ServiceThreads, BothStatusesReachOneWithTheStackUp) {
  TestChannel channel("ab12cd34");
  CPkgInfo pkg;
  CServerInfo server;
  {
    CReadPkgInfoThread pkgThread(&pkg);
    CReadServerInfoThread serverThread(&server);
    EXPECT_EQ(AwaitStatus(pkg, kHangBoundMs), 1);
    EXPECT_EQ(AwaitStatus(server, kHangBoundMs), 1);
  }
  EXPECT_EQ(pkg.GetUrlCount(), 4);
  EXPECT_EQ(server.GetAppId(), "57203816");
}

TEST(ServiceThreads, DestroyingAThreadInsideASilentExchangeEndsItsBody) {
  stack_admin::ScopedFault silent({profile::bench::kPkgIp, profile::kPkgFallbackIp}, "silent");
  const int before = stack_admin::RequestCount(profile::bench::kPkgIp, kIndexPath);
  CPkgInfo pkg;
  std::unique_ptr<CReadPkgInfoThread> thread(new CReadPkgInfoThread(&pkg));
  // The host counts a request before it goes silent: then the thread waits
  // inside the exchange.
  for (DWORD waited = 0;
       stack_admin::RequestCount(profile::bench::kPkgIp, kIndexPath) == before && waited < kHangBoundMs; waited += 50)
    Sleep(50);
  ASSERT_GT(stack_admin::RequestCount(profile::bench::kPkgIp, kIndexPath), before);
  EXPECT_EQ(pkg.GetStatus(), 0);
  BodyThread destroy([&thread] { thread.reset(); });
  EXPECT_TRUE(destroy.Ended(kHangBoundMs)) << "the destructor waited for the receive time-out";
  // A forced end would have left the status pending; the body saw its stop.
  EXPECT_EQ(pkg.GetStatus(), 2);
}

}  // namespace
