pw_add_test(tst_proc_parsers platform/tst_proc_parsers.cpp LIBS pw_platform)
pw_add_test(tst_linux_counters platform/tst_linux_counters.cpp platform/fixture_copy.h LIBS pw_platform)
pw_add_test(tst_device_parsers platform/tst_device_parsers.cpp LIBS pw_platform)
pw_add_test(tst_device_counters platform/tst_device_counters.cpp platform/fixture_copy.h LIBS pw_platform)
