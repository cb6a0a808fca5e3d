800,"incompleto",0.4,150
