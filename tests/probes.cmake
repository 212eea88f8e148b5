set(PW_PROBES_TEST_DIR ${CMAKE_CURRENT_SOURCE_DIR}/probes)

pw_add_test(tst_command_runner probes/tst_command_runner.cpp probes/probe_test_support.h
    LIBS pw_services)
pw_add_test(tst_ping_service probes/tst_ping_service.cpp probes/probe_test_support.h
    LIBS pw_services)
pw_add_test(tst_process_monitor probes/tst_process_monitor.cpp probes/clocked_counters.h
    probes/generated_process_tree.h LIBS pw_services pw_platform_linux)
pw_add_test(tst_desktop_entries probes/tst_desktop_entries.cpp LIBS pw_platform_xdg)
pw_add_test(tst_quick_actions probes/tst_quick_actions.cpp probes/probe_test_support.h
    LIBS pw_services)

foreach(test tst_command_runner tst_ping_service tst_process_monitor tst_desktop_entries
        tst_quick_actions)
    target_include_directories(${test} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_definitions(${test} PRIVATE PW_PROBES_FAKE_TOOLS="${PW_PROBES_TEST_DIR}/fake-tools")
endforeach()
