# Checks the user manual the build made: a PDF file (it begins with "%PDF-")
# of at least PAGES_MIN pages that embeds at least IMAGES_MIN images.
#   cmake -DPDF=tamso_manuel.pdf -DPAGES_MIN=8 -DIMAGES_MIN=12 -P verifier_pdf.cmake
if(NOT EXISTS "${PDF}")
  message(FATAL_ERROR "manuel absent : ${PDF}")
endif()
file(READ "${PDF}" debut LIMIT 5 HEX)
if(NOT debut STREQUAL "255044462d")  # "%PDF-"
  message(FATAL_ERROR "${PDF} n'est pas un fichier PDF (premiers octets : ${debut})")
endif()
# Each page is an object of type /Page (the page tree is /Pages); each image
# an XObject of subtype /Image.
file(STRINGS "${PDF}" pages REGEX "/Type /Page([^s]|$)")
list(LENGTH pages nb_pages)
file(STRINGS "${PDF}" images REGEX "/Subtype /Image")
list(LENGTH images nb_images)
message(STATUS "${PDF} : ${nb_pages} pages, ${nb_images} images")
if(nb_pages LESS PAGES_MIN)
  message(FATAL_ERROR "${nb_pages} pages, au moins ${PAGES_MIN} attendues")
endif()
if(nb_images LESS IMAGES_MIN)
  message(FATAL_ERROR "${nb_images} images, au moins ${IMAGES_MIN} attendues")
endif()
