# Builds the project SOURCE outside this tree in BINARY against the kit
# installed in PREFIX, and runs its tests.
include(${CMAKE_CURRENT_LIST_DIR}/kit_steps.cmake)
vrel_kit_build(${SOURCE} ${BINARY} ${PREFIX})
