# Fails the build when the module shows the host anything but its nine entry points, or
# when an allocation operator it calls is left for the dynamic linker to find elsewhere
# (a block would then cross between the host's heap and the plug-in's).
# Run as: cmake -DNM=<nm> -DOBJDUMP=<objdump> -DMODULE=<module> -P CheckExports.cmake
set(expected PluginMain _Znwm _Znam _ZnwmRKSt9nothrow_t _ZnamRKSt9nothrow_t
             _ZdlPv _ZdaPv _ZdlPvRKSt9nothrow_t _ZdaPvRKSt9nothrow_t)

execute_process(COMMAND ${NM} -D --defined-only ${MODULE} OUTPUT_VARIABLE defined RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${MODULE}: cannot list its dynamic symbols with ${NM}")
endif()
string(REGEX MATCHALL "[^ \n]+\n" lines "${defined}")
set(exported)
foreach(line ${lines})
  string(STRIP "${line}" name)
  list(APPEND exported ${name})
endforeach()
list(SORT exported)
list(SORT expected)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "${MODULE}: exports [${exported}] instead of exactly [${expected}]")
endif()

execute_process(COMMAND ${NM} -D --undefined-only ${MODULE} OUTPUT_VARIABLE undefined)
string(REGEX MATCHALL "_Z(nw|na|dl|da)[A-Za-z0-9_]*" foreign "${undefined}")
if(foreign)
  message(FATAL_ERROR "${MODULE}: allocation operators bound outside the module: ${foreign}")
endif()

# A shared C++ runtime would allocate with the process's operator new in its out-of-line
# code while the module's inline code frees with its own: the module carries its own copy.
execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE headers)
string(REGEX MATCH "NEEDED[ \t]+libstdc\\+\\+[^\n]*" shared_runtime "${headers}")
if(shared_runtime)
  message(FATAL_ERROR "${MODULE}: depends on the shared C++ runtime (${shared_runtime})")
endif()
