# Resource scripts become .res files (not COFF objects), which lld-link merges
# with the manifest resource it embeds itself.
set(CMAKE_RC_COMPILE_OBJECT "<CMAKE_RC_COMPILER> -O res <DEFINES> <INCLUDES> <FLAGS> <SOURCE> <OBJECT>")
