# The Linux sources by area, each with its parsers, against the fixture trees.
foreach(area cpu_source memory_source network_source connection_source power_source
        thermal_source storage_source process_source linux_sources)
    pw_add_test(tst_${area} platform/tst_${area}.cpp platform/fixture_tree.h
        LIBS pw_platform_linux)
endforeach()
pw_add_test(tst_hostile_files platform/tst_hostile_files.cpp platform/fixture_tree.h
    LIBS pw_platform_linux)

# A stand-in for NVIDIA's libnvidia-ml.so.1, found through LD_LIBRARY_PATH.
add_library(fake_nvml SHARED platform/fake_nvml/fake_nvml.cpp)
set_target_properties(fake_nvml PROPERTIES OUTPUT_NAME nvidia-ml PREFIX lib SUFFIX .so.1
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/fake_nvml AUTOMOC OFF)
pw_add_test(tst_gpu_source platform/tst_gpu_source.cpp platform/fixture_tree.h
    LIBS pw_platform_linux)
add_dependencies(tst_gpu_source fake_nvml)
set_tests_properties(tst_gpu_source PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;LD_LIBRARY_PATH=${CMAKE_CURRENT_BINARY_DIR}/fake_nvml")
