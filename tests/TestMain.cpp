// Entry point of every test program: GoogleTest with wide-character arguments. A test program started with
// the MAPI child's argument is that child, as the program is: the probes start their own program for it.
#include "probes/mail/ComponentPathChild.h"

#include <gtest/gtest.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wcscmp(argv[1], corvane::kComponentPathChildArgument) == 0)
        return corvane::ServeComponentPathQuery();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
