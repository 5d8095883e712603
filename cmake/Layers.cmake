# Each library sees through its include directories only what it may include: its own folder
# and what the libraries it links expose. Includes are rooted at the repository ("core/pipes.h"),
# so a folder, or single headers of one, is exposed as a directory of symbolic links in the build
# tree; a folder a target does not link is not there for it, and including from it fails.
#
#   tovrik_expose(target [PUBLIC|PRIVATE] entry...)
#
# Each entry is a folder ("core") or a header ("base/utf8.h") of the source tree. PUBLIC
# entries reach whatever links the target; PRIVATE ones only the target's own sources.
function(tovrik_expose target)
    set(scope PUBLIC)
    foreach(entry IN LISTS ARGN)
        if(entry STREQUAL "PUBLIC" OR entry STREQUAL "PRIVATE" OR entry STREQUAL "INTERFACE")
            set(scope ${entry})
            continue()
        endif()
        string(TOLOWER ${scope} kind)
        set(view ${PROJECT_BINARY_DIR}/layers/${target}-${kind})
        get_filename_component(parent ${view}/${entry} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        if(NOT EXISTS ${view}/${entry})
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${entry} ${view}/${entry} SYMBOLIC)
        endif()
        target_include_directories(${target} ${scope} ${view})
    endforeach()
endfunction()

# The places that must never name a toolkit: windows.h found there stops the build.
function(tovrik_no_toolkit target)
    target_include_directories(${target} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/no-toolkit)
endfunction()
