! Reference conversions for the agreement test: reads tasks from the file named by the first
! argument and writes one result line per task to the file named by the second.
!   columns 1-2   W8, W4, WI (write a real(8), real(4) or integer) or R8, R4, RI (read one)
!   columns 4-23  the format
!   columns 25-27 the field width w
!   columns 29-   the value (list-directed) for writes, the field text of width w for reads
! A write gives the field; a read gives the bits of the value in hexadecimal, or ERR.
program referenceFields
  implicit none
  character(len=300) :: line, field
  character(len=20) :: fmt
  character(len=512) :: inPath, outPath
  integer :: inUnit, outUnit, ios, w
  integer(8) :: bits8
  integer(4) :: bits4, ival
  real(8) :: x8
  real(4) :: x4

  call get_command_argument(1, inPath)
  call get_command_argument(2, outPath)
  open(newunit=inUnit, file=trim(inPath), status='old', action='read')
  open(newunit=outUnit, file=trim(outPath), status='replace', action='write')
  do
    read(inUnit, '(A)', iostat=ios) line
    if (ios /= 0) exit
    fmt = line(4:23)
    read(line(25:27), '(I3)') w
    field = ' '
    select case (line(1:2))
    case ('W8')
      read(line(29:), *) x8
      write(field, fmt) x8
      write(outUnit, '(A)') field(1:w)
    case ('W4')
      read(line(29:), *) x4
      write(field, fmt) x4
      write(outUnit, '(A)') field(1:w)
    case ('WI')
      read(line(29:), *) ival
      write(field, fmt) ival
      write(outUnit, '(A)') field(1:w)
    case ('R8')
      read(line(29:28 + w), fmt, iostat=ios) x8
      if (ios /= 0) then
        write(outUnit, '(A)') 'ERR'
      else
        bits8 = transfer(x8, bits8)
        write(outUnit, '(Z16.16)') bits8
      end if
    case ('R4')
      read(line(29:28 + w), fmt, iostat=ios) x4
      if (ios /= 0) then
        write(outUnit, '(A)') 'ERR'
      else
        bits4 = transfer(x4, bits4)
        write(outUnit, '(Z8.8)') bits4
      end if
    case ('RI')
      read(line(29:28 + w), fmt, iostat=ios) ival
      if (ios /= 0) then
        write(outUnit, '(A)') 'ERR'
      else
        write(outUnit, '(I12)') ival
      end if
    end select
  end do
  close(inUnit)
  close(outUnit)
end program referenceFields
