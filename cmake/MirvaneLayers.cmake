# Includes name their layer ("model/runge.h", "glpanel/openglpanel.h"), with
# the source root as the include folder; yet a target sees only the folders of
# what it links. Each library publishes a folder of its own in the build tree
# that holds one link, to its sources (a header-only part of a folder links
# just its file), so an include of a layer it does not link fails to compile.
function(mirvane_publish_folder target scope folder)
    set(root ${CMAKE_BINARY_DIR}/include/${target})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    target_include_directories(${target} ${scope} ${root})
endfunction()

# mirvane_add_library(<name> FOLDER <folder> SOURCES ... [PUBLIC ...] [PRIVATE ...])
# The static library mirvane_<name>, alias mirvane::<name>, built from sources
# of <folder> and publishing that folder; PUBLIC and PRIVATE are its links.
function(mirvane_add_library name)
    cmake_parse_arguments(ARG "" "FOLDER" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    set(target mirvane_${name})
    add_library(${target} STATIC ${ARG_SOURCES})
    add_library(mirvane::${name} ALIAS ${target})
    mirvane_publish_folder(${target} PUBLIC ${ARG_FOLDER})
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()

# Parsing Qt's headers is most of what a window's file costs to compile: the
# program's libraries on Qt Widgets share one precompiled set of the common ones.
add_library(mirvane_qtheaders OBJECT ${CMAKE_CURRENT_LIST_DIR}/qtheaders.cpp)
target_link_libraries(mirvane_qtheaders PRIVATE Qt6::Widgets)
target_precompile_headers(mirvane_qtheaders PRIVATE
    <QApplication> <QDialog> <QLabel> <QPainter> <QPushButton> <QString> <QTimer> <QWidget>)
set_target_properties(mirvane_qtheaders PROPERTIES AUTOMOC OFF)

function(mirvane_use_qt_headers target)
    target_precompile_headers(${target} REUSE_FROM mirvane_qtheaders)
endfunction()
