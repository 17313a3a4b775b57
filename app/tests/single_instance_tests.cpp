// One tool per computer: the name is the computer's; a name held where this
// start cannot open it, or one that cannot be made, counts as held.
#include <windows.h>
// The security descriptor's text form needs the one above first.
#include <sddl.h>

#include <gtest/gtest.h>

#include "app/single_instance.h"

namespace {

TEST(SingleInstance, TheNameIsTheComputersAndAnyDoubtMeansAnotherToolRuns) {
  EXPECT_EQ(std::string(app::kInstanceName).rfind("Global\\", 0), 0u);

  const char* name = "Global\\QueltaConfiguracaoTeste";
  app::SingleInstance first(name);
  EXPECT_TRUE(first.first());
  app::SingleInstance second(name);
  EXPECT_FALSE(second.first());
  EXPECT_FALSE(second.elsewhere());

  // Another user's tool, started as administrator: the name exists and
  // this start may not open it.
  PSECURITY_DESCRIPTOR denied = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;GA;;;WD)", SDDL_REVISION_1,
                                                                   &denied, nullptr));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, denied, FALSE};
  HANDLE others = CreateMutexA(&attributes, FALSE, "Global\\QueltaConfiguracaoOutro");
  ASSERT_TRUE(others);
  app::SingleInstance blocked("Global\\QueltaConfiguracaoOutro");
  EXPECT_FALSE(blocked.first());
  EXPECT_TRUE(blocked.elsewhere());
  CloseHandle(others);
  LocalFree(denied);

  // A name that cannot be made at all.
  app::SingleInstance unmade("Global\\Quelta\\Configuracao");
  EXPECT_FALSE(unmade.first());
}

}  // namespace
