DROP TABLE IF EXISTS `unique_no`;
CREATE TABLE `unique_no` (
  `id` varchar(32) NOT NULL,
  `unique_no` bigint(20) NOT NULL AUTO_INCREMENT,
  PRIMARY KEY (`unique_no`)
) ENGINE=InnoDB AUTO_INCREMENT=55723 DEFAULT CHARSET=latin1;
