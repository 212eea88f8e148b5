# The popup's views, widgets and their pure view logic.
pw_add_test(tst_ui_view_logic ui/tst_view_logic.cpp LIBS pw_ui)
pw_add_test(tst_ui_widgets ui/tst_widgets.cpp LIBS pw_ui)
pw_add_test(tst_ui_popover ui/tst_popover.cpp ui/ui_test_support.h LIBS pw_ui)
