// Connection-discovery sources are listed in CMakeLists.txt.
