# Ein Ordner, der wie eine Nachrichtendatei heisst.
file(MAKE_DIRECTORY ${ARBEIT}/ordner.dat)
