# The layer check in script mode: links down pass; a link to a layer of the same rank, the
# nearest case of a link up, stops the configure with both layers named.
cmake_minimum_required(VERSION 3.25)
include(${LAYERS})
hopla_check_links(stage form toolkit PkgConfig::SDL2)
hopla_check_links(text toolkit platform)
hopla_check_links(program apps editor frontend sim solve)
message(STATUS "downward links pass")
hopla_check_links(play stage sequences)
message(STATUS "a link up passed")
