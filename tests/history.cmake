# The history store: a fake clock through a day and a month of cycles, then
# the program itself recording, killed and exporting.
pw_add_test(tst_history_store history/tst_history_store.cpp history/history_test_support.h
    LIBS pw_services)
pw_add_test(tst_history_e2e history/tst_history_e2e.cpp history/history_test_support.h
    LIBS pw_app)
add_dependencies(tst_history_e2e pulsewick)
set_tests_properties(tst_history_e2e PROPERTIES TIMEOUT 240)
pw_add_test(tst_history_chart history/tst_history_chart.cpp history/history_test_support.h
    LIBS pw_ui)
