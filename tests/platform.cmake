# The Linux sources by area, each with its parsers, against the fixture trees.
foreach(area text_scan cpu_source memory_source network_source connection_source power_source
        thermal_source storage_source gpu_source fan_source process_source linux_sources)
    pw_add_test(tst_${area} platform/tst_${area}.cpp platform/fixture_tree.h
        LIBS pw_platform_linux)
endforeach()
