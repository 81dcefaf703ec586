# quvan_app is named in this comment, which is fine.
target_link_libraries(quvan_link_sample PUBLIC quvan_link_core quvan_application_like)
target_link_libraries(quvan_link_sample PUBLIC quvan_app Qt6::Core)
