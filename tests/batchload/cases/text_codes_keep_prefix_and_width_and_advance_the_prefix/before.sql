INSERT INTO Conti (Gruppo, Mastro, Conto) VALUES ('01', '02', 'C00099'), ('01', '03', 'C99999'),
  ('01', '03', 'D00004'), ('01', '02', 'X99999');
