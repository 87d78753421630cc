# Generated resources: the event icon strips and the application icon, drawn from the pixel maps in res/,
# and the process manifest for the target's processor.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(CORVANE_GENERATED_RES ${CMAKE_BINARY_DIR}/res)
file(GLOB CORVANE_PIXEL_MAPS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/icons/*)
set(CORVANE_GENERATED_FILES "")
if(EXISTS ${CMAKE_SOURCE_DIR}/res/icons/draw_icons.py)
    set(CORVANE_GENERATED_FILES
        ${CORVANE_GENERATED_RES}/events256.bmp ${CORVANE_GENERATED_RES}/events16.bmp ${CORVANE_GENERATED_RES}/Corvane.ico)
    add_custom_command(
        OUTPUT ${CORVANE_GENERATED_FILES}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/res/icons/draw_icons.py ${CORVANE_GENERATED_RES}
        DEPENDS ${CORVANE_PIXEL_MAPS}
        COMMENT "Drawing the event icon strips and the application icon")
endif()
add_custom_target(corvane_resources DEPENDS ${CORVANE_GENERATED_FILES})

# The manifests name the processor of the program they are in: x86 for Corvane.exe, amd64 for Corvane64.exe.
if(CORVANE_64BIT)
    set(CORVANE_MANIFEST_ARCHITECTURE amd64)
else()
    set(CORVANE_MANIFEST_ARCHITECTURE x86)
endif()
configure_file(${CMAKE_SOURCE_DIR}/res/Application.manifest.in ${CORVANE_GENERATED_RES}/Application.manifest @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/res/Corvane.manifest.in ${CORVANE_GENERATED_RES}/Corvane.manifest @ONLY)
